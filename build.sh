#!/bin/sh
# Sets up a fresh Debian 12 machine for Skyring, builds it, then plays, tests or packages.
#   ./build.sh play       build and start the game
#   ./build.sh test       build and run every test
#   ./build.sh package    build and write the Debian package, build/skyring_<version>_<arch>.deb
#   ./build.sh web        build the game for a web browser into build-web/
#   ./build.sh web-test   build it and test it: under node, and in headless Chromium
#   ./build.sh windows    cross-build the game for Windows: build-windows/skyring-<version>-windows-x64.zip
#   ./build.sh windows-test  build it and test it under Wine
# Extra CMake options may come in SKYRING_CMAKE_ARGS (CI turns warnings into errors).
set -eu
cd "$(dirname "$0")"

mode="${1:-play}"
case "$mode" in
    play|test|package|web|web-test|windows|windows-test) ;;
    *) echo "usage: $0 [play|test|package|web|web-test|windows|windows-test]" >&2; exit 2 ;;
esac

packages="build-essential cmake pkg-config libsdl2-dev libgtest-dev libgmock-dev libbenchmark-dev libpng-dev zlib1g-dev libdeflate-dev libgif-dev libxdamage-dev xvfb openbox pulseaudio pulseaudio-utils x11-apps x11-utils xdotool imagemagick desktop-file-utils valgrind file man-db appstream lintian"
# The web build: emscripten, and dpkg-dev to unpack the Debian sources it builds SDL from;
# its tests: Chromium, and npm for puppeteer-core. The Windows build: mingw-w64, dpkg-dev for the
# Debian sources it builds its libraries from, zip; its tests: Wine (64-bit).
case "$mode" in
    web) packages="$packages emscripten dpkg-dev" ;;
    web-test) packages="$packages emscripten dpkg-dev chromium" ;;
    windows) packages="$packages g++-mingw-w64-x86-64 dpkg-dev zip" ;;
    windows-test) packages="$packages g++-mingw-w64-x86-64 dpkg-dev zip wine wine64" ;;
esac
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# npm may come with another build of node.
if [ "$mode" = web-test ] && ! command -v npm >/dev/null; then missing="$missing npm"; fi
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${SKYRING_CMAKE_ARGS:-}

case "$mode" in
    play|test|package)
        cmake --build build --parallel "$(nproc)"
        [ "$mode" = play ] && exec ./build/app/skyring
        [ "$mode" = package ] && exec cmake --build build --target package
        exec ctest --test-dir build --output-on-failure --timeout 600
        ;;
esac

# The web and Windows builds need the build machine's own tools: the asset embedder and
# generator; for their tests the native replay and soak too, and for the web's the desktop's
# presenter as a program.
native_tools="skyring-embed skyring-assetgen"
case "$mode" in
    web-test) native_tools="$native_tools skyring-replay skyring-soak skyring-desktop-picture" ;;
    windows-test) native_tools="$native_tools skyring-replay skyring-soak" ;;
esac
cmake --build build --parallel "$(nproc)" --target $native_tools

# The Windows build: the libraries built with mingw-w64 (kept between runs in build-windows-deps/,
# or in SKYRING_WINDOWS_DEPS_DIR), then the programs and the .zip in build-windows/.
case "$mode" in
    windows|windows-test)
        deps=$(realpath -m "${SKYRING_WINDOWS_DEPS_DIR:-build-windows-deps}")
        tools/windows/build-deps.sh "$deps"
        cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows/toolchain.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_FIND_ROOT_PATH="$deps/prefix" -DSKYRING_WINDOWS_DEPS="$deps/prefix" \
            -DSKYRING_HOST_TOOLS="$PWD/build" ${SKYRING_CMAKE_ARGS:-} >/dev/null
        cmake --build build-windows --parallel "$(nproc)"
        [ "$mode" = windows-test ] && exec tools/windows/test.sh build build-windows
        echo
        echo "$(ls build-windows/skyring-*-windows-x64.zip) holds the game for Windows: unzip it and run skyring.exe."
        exit 0
        ;;
esac

# The web build: SDL and libdeflate for the web (kept in build-wasm-deps/), then the game and
# skyring-replay with emscripten in build-wasm/, the site in build-web/.
export NODE_PATH=/usr/share/nodejs  # where Debian keeps the modules emscripten's tools load
tools/web/build-deps.sh build-wasm-deps
emcmake cmake -S . -B build-wasm -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    -DCMAKE_FIND_ROOT_PATH="$PWD/build-wasm-deps/prefix" -DSKYRING_HOST_TOOLS="$PWD/build" \
    -DSKYRING_WEB_SITE="$PWD/build-web" >/dev/null
cmake --build build-wasm --parallel "$(nproc)"

if [ "$mode" = web ]; then
    echo
    echo "build-web/ holds the game for a web browser; any web server can host it. To play here:"
    echo "  python3 -m http.server --bind 127.0.0.1 --directory build-web 8000"
    echo "then open http://127.0.0.1:8000/"
    exit 0
fi
# puppeteer-core drives the machine's Chromium and downloads no browser of its own.
(cd tests/web && npm ci --no-audit --no-fund)
exec node --test tests/web/
