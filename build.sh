#!/bin/sh
# Sets up a fresh Debian 12 machine for Skyring, builds it, then plays, tests or packages.
#   ./build.sh play     build and start the game
#   ./build.sh test     build and run every test
#   ./build.sh package  build and write the Debian package, build/skyring_<version>_<arch>.deb
# Extra CMake options may come in SKYRING_CMAKE_ARGS (CI turns warnings into errors).
set -eu
cd "$(dirname "$0")"

packages="build-essential cmake pkg-config libsdl2-dev libgtest-dev libgmock-dev libbenchmark-dev libpng-dev zlib1g-dev libdeflate-dev libgif-dev libxdamage-dev xvfb openbox x11-apps x11-utils xdotool imagemagick desktop-file-utils valgrind file man-db appstream lintian"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${SKYRING_CMAKE_ARGS:-}
cmake --build build --parallel "$(nproc)"

case "${1:-play}" in
    play) exec ./build/app/skyring ;;
    test) exec ctest --test-dir build --output-on-failure --timeout 600 ;;
    package) exec cmake --build build --target package ;;
    *) echo "usage: $0 [play|test|package]" >&2; exit 2 ;;
esac
