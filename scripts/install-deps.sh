#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Velbrin needs,
# or only the packages named on the command line.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libqt6svg6 qt6-qpa-plugins qt6-l10n-tools
  libgl-dev libxkbcommon-dev
  libavformat-dev libavcodec-dev libavfilter-dev libavutil-dev libswscale-dev libswresample-dev
  ffmpeg
  libgtest-dev libgmock-dev googletest
  fp-utils
  fonts-noto-cjk fonts-dejavu-core
  xvfb xauth
)
# Given package names, installs those instead (the fuzzing script's own tools).
if [ $# -gt 0 ]; then packages=("$@"); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
