#!/usr/bin/env bash
# Installs what building Quorvane needs on Debian 12 (only what is missing).
set -euo pipefail
packages=(g++ make cmake pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n libssl-dev libgl-dev libxlsxwriter-dev libminizip-dev libqrencode-dev fonts-liberation fonts-dejavu-core xdg-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
