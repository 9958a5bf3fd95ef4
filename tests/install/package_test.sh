#!/bin/sh
# Usage: package_test.sh BUILD_DIR VERSION WITH_LV2
# cpack -G DEB builds tovrel_VERSION_amd64.deb holding /usr/lib/vst/Tovrel.so, /usr/bin/tovrel
# and, when built, the LV2 bundle in /usr/lib/lv2, with dependencies dpkg-shlibdeps computed
# from the binaries.
set -eu
build=$1
version=$2
with_lv2=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
deb=$work/tovrel_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work")"

dpkg-deb -x "$deb" "$work/root"
files=$(cd "$work/root" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
wanted="./usr/bin/tovrel "
[ "$with_lv2" = 1 ] && wanted="$wanted./usr/lib/lv2/Tovrel.lv2/Tovrel.so ./usr/lib/lv2/Tovrel.lv2/Tovrel.ttl ./usr/lib/lv2/Tovrel.lv2/manifest.ttl "
wanted="$wanted./usr/lib/vst/Tovrel.so "
[ "$files" = "$wanted" ] || fail "package holds $files; wanted $wanted"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libsndfile1; do
  echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "not an amd64 package"
"$work/root/usr/bin/tovrel" info --plugin "$work/root/usr/lib/vst/Tovrel.so" >/dev/null ||
  fail "the packaged tovrel cannot load the packaged plug-in"
echo "package: $(basename "$deb") with $files; Depends: $depends"
