#!/usr/bin/env bash
# Installs what building, running and testing the editor needs on Debian 12.
set -euo pipefail

packages=(cmake ninja-build g++ pkgconf qt6-base-dev qt6-svg-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils xdotool imagemagick
          fonts-dejavu-core
          # DXT encoding for the portrait codec (libsquish for what is written, stb_dxt for
          # quick previews); WebP and other pictures for picture import;
          # the command line's parser
          libsquish-dev libstb-dev qt6-image-formats-plugins libcli11-dev
          # lupdate, for the template of the texts to translate
          qt6-tools-dev qt6-l10n-tools
          # the manual pages, and the checks of the files a desktop reads
          help2man man-db shared-mime-info desktop-file-utils appstream)
if [ -n "${CPE_EXTRA_PACKAGES:-}" ]; then
  read -r -a extra <<<"$CPE_EXTRA_PACKAGES"
  packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
