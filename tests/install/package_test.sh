#!/usr/bin/env bash
# The Debian package: cpack builds it from the built programs into a temporary folder, and
# dpkg-deb shows what it installs and what it depends on.
#
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d /tmp/brelix-package-test.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log") ||
  fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/brelix_4.06_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package brelix_4.06_<arch>.deb among: $(ls "$work")"

contents=$(dpkg-deb --contents "$deb")
# The install test checks each installed file and link; here one file of each kind.
for path in ./usr/lib/brelix/brelix ./usr/lib/brelix/brelix-cli ./usr/lib/brelix/Brelix.html \
  ./usr/lib/brelix/brelix_en.qm \
  ./usr/lib/brelix/テストデータ/TEST1.xls ./usr/lib/brelix/images/compare.png \
  ./usr/share/applications/brelix.desktop ./usr/share/man/man1/brelix-cli.1.gz; do
  grep -qF " $path" <<<"$contents" || fail "$path not in the package:
$contents"
done
# Files belong to root, whoever built the package.
if grep -v ' root/root ' <<<"$contents" | grep -q .; then
  fail "files not owned by root:
$(grep -v ' root/root ' <<<"$contents")"
fi

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libreoffice-calc libuno-cppu3; do
  grep -qw "$package" <<<"$depends" || fail "$package missing from Depends: $depends"
done
[ "$(dpkg-deb --field "$deb" Package)" = brelix ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = 4.06 ] || fail "version"

# Stripped, but still finding the office's libraries.
dpkg-deb -x "$deb" "$work/root"
readelf -d "$work/root/usr/lib/brelix/brelix-cli" | grep -q /usr/lib/libreoffice/program ||
  fail "the packaged brelix-cli lost its path to the office's libraries"
if readelf -S "$work/root/usr/lib/brelix/brelix" | grep -q '\.debug_info'; then
  fail "the packaged brelix is not stripped"
fi
echo "PASS $(basename "$deb"): $(wc -l <<<"$contents") entries"
