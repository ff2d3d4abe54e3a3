#!/usr/bin/env bash
# Installs every Debian package the builds, tests and demo need (as root).
# Quick when everything is there already.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev libstb-dev
  libsdl2-dev libx11-dev libxtst-dev libgl1-mesa-dev libglu1-mesa-dev "libgl1-mesa-dri:$(dpkg --print-architecture)"
  xvfb xauth openbox wmctrl xdotool x11-utils imagemagick pkgconf unzip python3 doxygen
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}\n' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
