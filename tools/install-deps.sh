#!/usr/bin/env bash
# Installs everything the builds, the tests and the intro need on a fresh Debian 12 machine (as root).
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libbenchmark-dev
    libsdl2-dev libstb-dev libpng-dev libsndfile1-dev libxmp-dev pkgconf
    python3 python3-pil python3-numpy fonts-dejavu-core
    g++-mingw-w64-x86-64 wine wine64
    xvfb libgl1-mesa-dri xdotool x11-apps x11-utils pulseaudio pulseaudio-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
