#!/usr/bin/env bash
# Sets up and builds, then runs every test offscreen through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
# The server's suites run against a throwaway PostgreSQL cluster of their own.
bash scripts/setup.sh postgresql-15
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
