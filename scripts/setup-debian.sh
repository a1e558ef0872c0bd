#!/usr/bin/env bash
# Installs what building, running, testing and packaging the program need on Debian 12.
# Runs apt-get only when something is missing, with sudo when not root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimediawidgets6
  libgtest-dev libgmock-dev libbenchmark-dev
  libpcre2-dev libnuspell-dev libicu-dev hunspell-en-us
  xvfb xauth fonts-liberation fonts-crosextra-carlito
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  clang libclang-rt-14-dev llvm-14
  ffmpeg
  dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
