#!/usr/bin/env bash
# Installs the Debian packages the viewer and its tests need, only those that are missing.
# Usage: scripts/install-deps.sh [run|test|windows]
# windows: only what the Windows build needs beside its Qt (scripts/windows-qt.sh): the MinGW-w64
# cross compiler, Wine to run the program and its tests (as a Japanese Windows: the locales'
# definitions), NSIS for the installer.
set -euo pipefail

windows=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 nsis cmake ninja-build
         qt6-base-dev-tools locales)
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-image-formats-plugins libgl1-mesa-dev
          libxcb1-dev libjpeg62-turbo-dev
          fonts-ipafont-gothic)
if [ "${1:-run}" = test ]; then
    packages+=(libqt6test6 xvfb xauth xdotool wmctrl x11-utils openbox imagemagick python3
               python3-pil dpkg-dev file lintian desktop-file-utils appstream xdg-utils colord-data
               weston xwayland qt6-wayland
               clang-14 libclang-rt-14-dev llvm-14)
    # A Mincho beside the Gothic: the font test checks that the viewer never takes it.
    packages+=(fonts-ipafont-mincho)
    packages+=("${windows[@]}")
fi
[ "${1:-run}" = windows ] && packages=("${windows[@]}")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Needs root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
