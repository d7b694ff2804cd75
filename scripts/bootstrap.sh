#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and
# builds everything into build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config ccache
          libsdl2-dev liblzo2-dev libpng-dev zlib1g-dev libgl-dev libgl1-mesa-dri
          # FFmpeg: headers to build; the runtime opens the libraries on first use
          # (platform/ffmpeg_library.cpp); the ffmpeg command makes the tests' media
          libavformat-dev libavcodec-dev libswresample-dev libswscale-dev libavutil-dev ffmpeg
          libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth xdotool
          zenity                 # the file requester's chooser
          clang libclang-rt-14-dev   # the fuzz targets (scripts/fuzz.sh): libFuzzer, sanitizers
          alsa-utils sox   # the sound tests play the system's sample sounds and sox's files
          libfreetype-dev fonts-dejavu-core)  # make_media draws the show's text with them
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
echo "bootstrap: packages, configure and build took ${SECONDS} s"
