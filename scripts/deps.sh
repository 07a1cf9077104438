#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking Floorwatch need.
# Quick when everything is present: apt-get runs only for missing packages.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6 libqt6test6
  libpng-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation
  qt6-translations-l10n
  xvfb xauth poppler-utils xdg-utils
  cups printer-driver-cups-pdf libcups2-dev
  libhamlib-dev libhamlib-utils
  libsqlite3-dev
  help2man dpkg-dev file appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
