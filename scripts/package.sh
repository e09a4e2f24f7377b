#!/usr/bin/env bash
# Sets up and builds, then makes the Debian package build/domiva_VERSION_amd64.deb
# (install it with: sudo apt install ./build/domiva_*_amd64.deb). Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
(cd build && cpack -G DEB >/dev/null)
ls build/domiva_*_amd64.deb
