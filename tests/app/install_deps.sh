#!/bin/sh
# scripts/install-deps as `make run` and `make test` in $1 call it, on a machine
# without a package: dpkg-query finds none; apt-get, behind a sudo that drops
# the environment as sudo does, notes what it is asked.
set -eu
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
printf '#!/bin/sh\nexec env -i PATH="$PATH" VIA=sudo "$@"\n' >"$fake/sudo"
printf '#!/bin/sh\necho "$VIA ${DEBIAN_FRONTEND-} $*" >"%s/asked"\n' "$fake" >"$fake/apt-get"
chmod +x "$fake"/*
asks() {
  deps=$(env -u MAKEFLAGS -u MAKELEVEL make -n -C "$1" "$2" | grep '^scripts/install-deps')
  (cd "$1" && PATH="$fake:$PATH" sh -c "$deps" >/dev/null && cat "$fake/asked")
}

game="build-essential make cmake pkg-config libx11-dev libsdl1.2-dev libsdl-image1.2-dev"
run=$(asks "$1" run)
[ "$run" = "sudo noninteractive install -y -qq --no-install-recommends $game" ] ||
  { echo "make run asks: $run"; exit 1; }
case "$(asks "$1" test)" in
  *"recommends $game libgtest-dev "*" emscripten chromium chromium-driver python3-selenium") ;;
  *) echo "make test asks: $(cat "$fake/asked")"; exit 1 ;;
esac
