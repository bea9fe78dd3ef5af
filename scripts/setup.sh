#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when all are present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-multimedia-dev qt6-webengine-dev libqt6opengl6-dev
  libcurl4-openssl-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk xvfb xauth
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  lua5.4 python3 clang libclang-rt-14-dev
  desktop-file-utils librsvg2-bin
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
echo "setup: installing ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
