#!/usr/bin/env bash
# Sets up and builds, then starts Domiva; arguments go to the program
# (for example --database PATH). Without a display it runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  exec xvfb-run -a ./build/domiva "$@"
fi
exec ./build/domiva "$@"
