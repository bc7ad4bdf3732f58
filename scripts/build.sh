#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures and builds with Ninja. The folder is configured
# once, and again only when a -DNAME=VALUE option given here differs from what its cache holds (so
# switching the tests off in an older folder takes effect).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
jobs=$(nproc)
configure=0
if [ ! -f "$dir/build.ninja" ]; then
  configure=1
else
  for o in "$@"; do
    if [[ $o =~ ^-D([A-Za-z0-9_]+)(:[A-Z]+)?=(.*)$ ]]; then
      cached=$(grep -m1 "^${BASH_REMATCH[1]}:" "$dir/CMakeCache.txt" || true)
      if [ "${cached#*=}" != "${BASH_REMATCH[3]}" ] || [ -z "$cached" ]; then configure=1; fi
    fi
  done
fi
if [ "$configure" -eq 1 ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" -j "$jobs"
