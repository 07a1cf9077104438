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
  libpq-dev postgresql
  libsoapysdr-dev soapysdr-tools libfftw3-dev
  locales
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

# The window tests run once under a German locale, and the guides are tried under a British one:
# glibc falls back to C without a word when a locale is not generated.
need_locales=()
for l in de_DE en_GB; do
  if ! locale -a 2>/dev/null | grep -qi "^${l}\.utf-\?8$"; then need_locales+=("$l"); fi
done
if ((${#need_locales[@]})); then
  for l in "${need_locales[@]}"; do
    sed -i "s/^# *\(${l}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l}\.UTF-8 UTF-8" /etc/locale.gen || echo "${l}.UTF-8 UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
