#!/bin/sh
# Usage: with_builds.sh BUILD_DIR... -- COMMAND...
# Brings the render programs of the named builds (the PowerPC reference, and the other platform
# compared with it) up to date, then runs COMMAND; exits 77 (skipped) when one of the builds has
# not been made (scripts/ppc-check and scripts/platforms-check make them).
while [ "$1" != "--" ]; do
  if [ ! -f "$1/CMakeCache.txt" ]; then
    echo "SKIPPED: no build in $1; scripts/ppc-check or scripts/platforms-check makes it"
    exit 77
  fi
  cmake --build "$1" --target tovrel_render Tovrel >/dev/null || {
    echo "FAILED: the build in $1 does not build"
    exit 1
  }
  shift
done
shift
exec "$@"
