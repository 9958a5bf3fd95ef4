#!/bin/sh
# Usage: install_test.sh BUILD_DIR
# cmake --install into a fresh prefix puts the plug-in in lib/vst and the command in bin, and the
# installed command loads the installed plug-in without being told where it is.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -f "$prefix/lib/vst/Tovrel.so" ] || fail "no lib/vst/Tovrel.so under the prefix"
[ -x "$prefix/bin/tovrel" ] || fail "no bin/tovrel under the prefix"
extra=$(cd "$prefix" && find . -type f ! -path ./lib/vst/Tovrel.so ! -path ./bin/tovrel)
[ -z "$extra" ] || fail "unexpected files installed: $extra"

info=$("$prefix/bin/tovrel" info) || fail "the installed tovrel cannot load the plug-in"
echo "$info" | grep -q "$prefix/lib/vst/Tovrel.so\|Tovrel" || fail "tovrel info says: $info"
echo "installed: lib/vst/Tovrel.so and bin/tovrel; tovrel info loads the installed plug-in"
