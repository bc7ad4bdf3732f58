#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures (once) and builds with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; shift
jobs=$(nproc)
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" -j "$jobs"
