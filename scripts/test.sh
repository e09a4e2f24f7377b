#!/usr/bin/env bash
# Sets up and builds, then runs every test offscreen through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
