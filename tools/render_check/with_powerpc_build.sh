#!/bin/sh
# Usage: with_powerpc_build.sh PPC_BUILD_DIR COMMAND...
# Brings the PowerPC reference programs up to date, then runs COMMAND; exits 77 (skipped) when
# there is no PowerPC build to compare against.
ppc_dir=$1
shift
if [ ! -f "$ppc_dir/CMakeCache.txt" ]; then
  echo "SKIPPED: no PowerPC build in $ppc_dir; scripts/ppc-check makes one"
  exit 77
fi
cmake --build "$ppc_dir" --target tovrel_render Tovrel >/dev/null || {
  echo "FAILED: the PowerPC build in $ppc_dir does not build"
  exit 1
}
exec "$@"
