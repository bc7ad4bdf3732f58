#!/usr/bin/env bash
# Sets everything up, builds, and starts Zarndesk.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -x build/release/bin/Zarndesk ]; then
  exec build/release/bin/Zarndesk "$@"
fi
echo "Everything is built. The Zarndesk program itself is not there yet: its start-up comes later."
