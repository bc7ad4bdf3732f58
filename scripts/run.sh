#!/usr/bin/env bash
# Sets everything up, builds, and starts Zarndesk.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only the programs: no tests, benchmarks or fuzzers (and so no test switch in them).
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARN_TESTS=OFF -DZARN_BENCH=OFF -DZARN_FUZZ=OFF
if [ -x build/release/bin/Zarndesk ]; then
  exec build/release/bin/Zarndesk "$@"
fi
echo "build/release/bin/Zarndesk was not built; see the build output above." >&2
exit 1
