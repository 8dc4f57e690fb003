#!/usr/bin/env bash
# Installs the Debian packages Pelmora needs to build, test and run (Debian 12).
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6sql6-sqlite qt6-tools-dev qt6-tools-dev-tools libqt6svg6 qt6-qpa-plugins libgl-dev
  libxlsxwriter-dev libfreexl-dev libquazip1-qt6-dev libicu-dev libsodium-dev libsqlite3-dev
  fonts-noto-cjk fonts-arphic-ukai fonts-wqy-zenhei fonts-liberation
  poppler-utils
)
if [ "${1:-}" = "--run" ]; then
  packages+=(xdg-utils)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
