#!/usr/bin/env bash
# Installs what Domiva needs on Debian 12 (only what is missing), and the
# packages named as arguments, then configures and builds it in ./build.
# Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev and desktop-file-utils make and check the Debian package.
# libqt6sql6-psql speaks to a PostgreSQL server, for books kept on one;
# libpq-dev tells the program when that server's connection was lost;
# libzip, libxml2 and ICU read the banks' statement files.
packages=("$@" cmake g++ make qt6-base-dev libfontconfig-dev libqt6sql6-sqlite libqt6sql6-psql libpq-dev pkg-config libzip-dev libxml2-dev libicu-dev libqt6svg6 qt6-translations-l10n culmus xvfb xauth
          dpkg-dev desktop-file-utils)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# CI treats warnings as errors.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDOMIVA_WERROR="${CI:+ON}" >/dev/null
cmake --build build -j"$(nproc)"
