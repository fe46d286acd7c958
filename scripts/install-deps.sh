#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and packaging Velbrin
# needs, with the names of the running release (Debian 12 bookworm or 13 trixie).
# Runs apt-get as root (through sudo when not root) only when something is missing.
# Given package names, it installs only those.
set -euo pipefail

. /etc/os-release
release=${VERSION_ID:-}
if [ "${ID:-}" != debian ]; then
  echo "install-deps.sh: this is ${PRETTY_NAME:-an unknown system}; Velbrin's scripts know Debian 12 and 13" >&2
  exit 1
fi
# testing and unstable carry no VERSION_ID: they take the newest release's names.
[ -n "$release" ] || release=13

packages=(
  build-essential cmake ninja-build pkg-config git ccache file
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  libavformat-dev libavcodec-dev libavfilter-dev libavutil-dev libswscale-dev libswresample-dev
  ffmpeg
  libgtest-dev libgmock-dev googletest
  fp-utils
  fonts-noto-cjk fonts-dejavu-core
  xvfb xauth
  # Help and "open the output folder": xdg-open and a CHM viewer it can hand help files to.
  xdg-utils xchm
  # The installation tests validate the desktop entry and the AppStream data.
  desktop-file-utils appstream
)
case "$release" in
  12) packages+=(libqt6dbus6 libqt6svg6) ;;   # Qt 6.4, FFmpeg 5.1
  13) packages+=(libqt6dbus6 libqt6svg6) ;;   # Qt 6.8, FFmpeg 7.1 (same names after the t64 move)
  *)
    echo "install-deps.sh: Debian $release is not one Velbrin's scripts know (12 or 13)" >&2
    exit 1
    ;;
esac

# Given package names, installs those instead (the fuzzing script's own tools).
if [ $# -gt 0 ]; then packages=("$@"); fi

# One dpkg-query for all, so a machine that has everything is done at once.
mapfile -t installed < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null |
  awk '$1 == "ii" { print $2 }')
missing=()
for p in "${packages[@]}"; do
  [[ " ${installed[*]} " == *" $p "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "install-deps.sh: installing ${missing[*]}" >&2
$SUDO apt-get update
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
