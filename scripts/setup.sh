#!/usr/bin/env bash
# Installs every package the project needs (Debian 12) and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential cmake \
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql \
  libsqlite3-dev libcurl4-openssl-dev libcups2-dev \
  cups cups-client cups-daemon qt6-translations-l10n \
  xvfb xauth poppler-utils fonts-dejavu-core python3-pyftpdlib \
  dpkg-dev lintian desktop-file-utils pxlib-dev pkg-config postgresql libpq-dev \
  sshfs openssh-server openssh-client \
  libqrencode-dev zbar-tools libxlsxwriter-dev python3-openpyxl \
  locales-all qt6-charts-dev libqt6opengl6-dev python3-fusepy

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
