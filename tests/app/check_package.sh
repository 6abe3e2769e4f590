#!/usr/bin/env bash
# Builds the Debian package from a build tree into a scratch directory and
# checks it as Debian would: lintian without errors or warnings (apart from
# the maintainer address, which whoever publishes the package sets), the
# hardening of the binary, the AppStream metainfo and the desktop entry.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d /tmp/vantrixo-package-XXXXXX)
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >/dev/null
deb=$(ls "$scratch"/vantrixo_*.deb)
echo "package: $(basename "$deb")"

lintian --fail-on error,warning --display-info \
  --suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog "$deb" 2>&1 |
  { grep -v '^running with root privileges' || true; } | tee "$scratch/lintian.txt"
if grep -q -- '-no-\(bindnow\|fortify-functions\|pie\|relro\)' "$scratch/lintian.txt"; then
  echo "FAIL: the binary is not hardened"
  exit 1
fi
echo "ok: lintian"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
binary="$root/usr/lib/vantrixo/vantrixo"
test "$(readlink "$root/usr/games/vantrixo")" = ../lib/vantrixo/vantrixo
case "$(readelf --dyn-syms -W "$binary")" in
  *__stack_chk_fail*) ;;
  *) echo "FAIL: no stack protector"; exit 1 ;;
esac
echo "ok: /usr/games/vantrixo, stripped, hardened, with its manual page and licence"

appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
problems=$(desktop-file-validate "$root"/usr/share/applications/vantrixo.desktop)
if [ -n "$problems" ]; then
  echo "$problems"
  exit 1
fi
echo "ok: AppStream metainfo and desktop entry"
