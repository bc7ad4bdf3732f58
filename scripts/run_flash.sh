#!/usr/bin/env bash
# Sets everything up, builds, and starts Zarnflash, the firmware downloader (arguments are passed
# on, for example " /Type T-140DR /Ver 18 /Date 20240102" as the update page gives them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only the programs: no tests, benchmarks or fuzzers (and so no test switch in them).
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_TESTS=OFF -DZARN_BENCH=OFF -DZARN_FUZZ=OFF
if [ -x build/release/bin/Zarnflash ]; then
  exec build/release/bin/Zarnflash "$@"
fi
echo "build/release/bin/Zarnflash was not built; see the build output above." >&2
exit 1
