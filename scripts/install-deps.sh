#!/usr/bin/env bash
# Installs the Debian packages Kestrum needs to build, test and run.
# As root it runs apt-get; otherwise it prints the line to run.
set -eu
packages=(cmake make g++ pkg-config googletest libgtest-dev libbenchmark-dev
          qt6-base-dev libudev-dev xvfb xauth x11-utils xdotool imagemagick
          fonts-dejavu-core procps util-linux python3
          tshark desktop-file-utils unrtf enscript clang poppler-utils dpkg-dev
          xclip qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Kestrum needs these Debian packages. Run:"
  echo "  sudo apt-get install -y ${missing[*]}"
  exit 1
fi
