#!/usr/bin/env bash
# Builds Domiva once more with clang, AddressSanitizer, UndefinedBehaviorSanitizer
# and warnings as errors in ./build-sanitize, then runs every test but the
# package's under them. CI runs it after the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
# The server's suites run against a throwaway PostgreSQL cluster of their own.
bash scripts/setup.sh postgresql-15
if ! command -v clang++ >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang
fi
CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DDOMIVA_SANITIZE=ON -DDOMIVA_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"
# Qt and fontconfig keep what they allocate until the process ends: leaks are not ours to report.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build-sanitize --output-on-failure -j2 -E package
