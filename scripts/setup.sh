#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vellara need.
# Idempotent: when everything is already there it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6
  libgl-dev
  libwmf-dev libwmf-bin fonts-urw-base35 fonts-dejavu-core
  libbenchmark-dev
  xvfb xauth imagemagick desktop-file-utils
  dpkg-dev file lintian appstream man-db
  clang
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
