#!/bin/sh
# scripts/install-deps as a fresh machine sees it: a dpkg-query that finds no
# package, and an apt-get behind a sudo (which leaves the environment behind)
# that only note what they are asked. `make run` must ask for the game's
# packages alone, `make test` for the rest on top.
# Usage: install_deps.sh REPO_ROOT
set -eu
root=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\n[ -n "${INSTALLED-}" ] && echo "install ok installed"\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
printf '#!/bin/sh\nexec env -i PATH="$PATH" VIA=sudo "$@"\n' >"$fake/sudo"
printf '#!/bin/sh\necho "$VIA ${DEBIAN_FRONTEND-} $*" >>"%s/asked"\n' "$fake" >"$fake/apt-get"
chmod +x "$fake"/*

# What `make <goal>` asks for, through the Makefile's own deps command.
asks() {
  deps=$(env -u MAKEFLAGS -u MAKELEVEL make -n -C "$root" "$@" | grep '^scripts/install-deps')
  rm -f "$fake/asked"
  (cd "$root" && PATH="$fake:$PATH" sh -c "$deps" >/dev/null)
  cat "$fake/asked"
}

game="build-essential make cmake pkg-config libx11-dev libsdl1.2-dev libsdl-image1.2-dev"
run=$(asks run)
expected="sudo noninteractive update -qq
sudo noninteractive install -y -qq --no-install-recommends $game"
[ "$run" = "$expected" ] || { printf 'make run asked:\n%s\n' "$run"; exit 1; }
[ "$(asks game)" = "$run" ] && [ "$(asks build)" = "$run" ]

tests=$(asks test | tail -1)
case "$tests" in
  *"--no-install-recommends $game libgtest-dev libbenchmark-dev libsdl1.2-compat "*" xvfb "*" lintian "*" emscripten chromium chromium-driver python3-selenium") ;;
  *) printf 'make test asked:\n%s\n' "$tests"; exit 1 ;;
esac

# Everything present: not a word to apt.
rm -f "$fake/asked"
(cd "$root" && INSTALLED=1 PATH="$fake:$PATH" scripts/install-deps)
[ ! -e "$fake/asked" ]
echo "make run asks for: $game"
