#!/usr/bin/env bash
# Installs what building and testing Quorvane needs on Debian 12 (only what is
# missing). The one list of the project's packages: both README commands come
# through here (run.sh and test.sh call build.sh, which calls this).
set -euo pipefail
packages=(
    # compiler and build
    g++ make cmake pkg-config
    # Qt 6: widgets, printing, SVG pictures, tests; its Italian texts
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
    # backups' SHA-256
    libssl-dev
    # .xlsx written (libxlsxwriter) and read (minizip, whose header includes zlib's)
    libxlsxwriter-dev libminizip-dev zlib1g-dev
    # QR codes of the name badges
    libqrencode-dev
    # mail sent by the program (SMTP, TLS, MIME); its password in the system's keyring
    libcurl4-openssl-dev qtkeychain-qt6-dev
    # the statistics' charts (their CMake files ask for Qt OpenGL, which the package does not pull in)
    qt6-charts-dev libqt6opengl6-dev
    # fonts standing in for Arial and Courier New in sheets, lists and PDFs
    fonts-liberation fonts-dejavu-core
    # the system's opener of files and mail links
    xdg-utils
    # the tests: an independent reader of the PDFs written, file attributes
    poppler-utils e2fsprogs
    # the tests' mail server on the loopback address, and the certificate it is given
    python3-aiosmtpd openssl
)
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
