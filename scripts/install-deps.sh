#!/usr/bin/env bash
# Installs the Debian 12 packages the engine, its tools and its tests need.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
    # toolchain
    build-essential cmake ninja-build pkg-config clang
    # platform layer: window, OpenGL context (Mesa, also headless), events, audio
    libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libepoxy-dev
    # settings file
    libtomlplusplus-dev
    # scripts
    duktape-dev
    # sound: decoding, and converting other formats to the mixer's
    libvorbis-dev libsamplerate0-dev
    # textures and text
    libpng-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    # morvane-model: reading glTF and OBJ models
    libassimp-dev
    # tests, benchmarks, the independent cipher oracle
    googletest libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
    # the Debian package (dpkg-shlibdeps, and file, with which CPack finds the binaries) and its checks
    dpkg-dev file desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

sudo=
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
