#!/bin/sh
# Usage: install_test.sh BUILD_DIR WITH_LV2
# cmake --install into a fresh prefix puts the plug-in in lib/vst (the LV2 bundle, when built,
# in lib/lv2) and the command in bin, and the installed command loads the installed plug-in
# without being told where it is.
set -eu
build=$1
with_lv2=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -f "$prefix/lib/vst/Tovrel.so" ] || fail "no lib/vst/Tovrel.so under the prefix"
[ -x "$prefix/bin/tovrel" ] || fail "no bin/tovrel under the prefix"
lv2=./lib/lv2/Tovrel.lv2
if [ "$with_lv2" = 1 ]; then
  for file in Tovrel.so manifest.ttl Tovrel.ttl; do
    [ -f "$prefix/$lv2/$file" ] || fail "no $lv2/$file under the prefix"
  done
fi
extra=$(cd "$prefix" && find . -type f ! -path ./lib/vst/Tovrel.so ! -path ./bin/tovrel \
        ! -path "$lv2/*")
[ -z "$extra" ] || fail "unexpected files installed: $extra"

info=$("$prefix/bin/tovrel" info) || fail "the installed tovrel cannot load the plug-in"
echo "$info" | grep -q "$prefix/lib/vst/Tovrel.so" || fail "tovrel info says: $info"
# By name, as a host finds it: VST_PATH names the prefix's plug-in folder.
by_name=$(VST_PATH="$prefix/lib/vst" "$prefix/bin/tovrel" info --plugin Tovrel) ||
  fail "tovrel --plugin Tovrel does not find the plug-in in VST_PATH"
echo "$by_name" | grep -q "$prefix/lib/vst/Tovrel.so" || fail "--plugin Tovrel loaded: $by_name"
echo "installed: lib/vst/Tovrel.so and bin/tovrel; tovrel loads it by default and by name"
