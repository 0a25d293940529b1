#!/usr/bin/env bash
# Installs the Debian packages Vetra needs to build, test and run, and only
# those that are missing, so a second run installs nothing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libopencc-dev opencc zlib1g-dev libjpeg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth
  strace
  libpng-dev libemf-dev qt6-svg-dev chromium
  libreoffice-writer-nogui libreoffice-impress-nogui unzip
  xdg-utils shared-mime-info desktop-file-utils dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q "${missing[@]}"
