#!/bin/sh
# Builds the libraries the Windows programs link, with mingw-w64, from Debian's own source
# packages of the versions the desktop build uses: SDL2 (window, input, sound), libpng and zlib
# (pictures), libdeflate (the traces' checksums) and giflib (the replay's clips). All static:
# the .zip holds two programs and no DLL. Installs them under DIR/prefix, with their licences
# under DIR/prefix/licenses, and keeps them: a second run with the same versions does nothing.
#   tools/windows/build-deps.sh DIR
set -eu
here=$(realpath "$(dirname "$0")")
dir=$(realpath -m "$1")
mkdir -p "$dir"
cd "$dir"

# Source package and version of each library, as the machine's -dev packages have them.
source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1"; }
sources="$(source_of libsdl2-dev) $(source_of zlib1g-dev) $(source_of libpng-dev) $(source_of libdeflate-dev) $(source_of libgif-dev)"
stamp="$sources mingw=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64) script=$(cksum < "$here/build-deps.sh")"
if [ -f prefix/built ] && [ "$(cat prefix/built)" = "$stamp" ]; then
    exit 0
fi
rm -rf prefix sources build
mkdir -p prefix/lib prefix/include prefix/licenses build

echo "== Debian sources: $sources"
"$here/../debian-sources.sh" "$dir" $sources
source_dir() { find sources -maxdepth 1 -type d -name "$1-*" | head -n 1; }
sdl=$(source_dir libsdl2); zlib=$(source_dir zlib); png=$(source_dir libpng1.6)
deflate=$(source_dir libdeflate); gif=$(source_dir giflib)

cc=x86_64-w64-mingw32-gcc-posix
ar=x86_64-w64-mingw32-ar
cflags="-O2 -DNDEBUG"
# Compiles the C files given into one static library under prefix/lib, a file a core at a time.
library() {
    name=$1; shift
    mkdir -p "build/$name"
    printf '%s\n' "$@" | xargs -P "$(nproc)" -I{} sh -c \
        'object="build/$1/$(echo "$2" | tr / _).o"; exec '"$cc $cflags $LIB_FLAGS"' -c "$2" -o "$object"' - "$name" {}
    $ar rcs "prefix/lib/lib$name.a" build/"$name"/*.o
}

echo "== SDL2 for Windows (a few minutes, once)"
# The window, the renderers, the sound, the keyboard and game controllers the desktop build has;
# not the parts the game never asks for (force feedback, sensors, power, locales, URLs, OpenGL ES,
# Vulkan, SDL2main), no test programs, no shared library.
cmake -S "$sdl" -B build/sdl -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$dir/prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_HAPTIC=OFF \
    -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF \
    -DSDL2_DISABLE_SDL2MAIN=ON >/dev/null
cmake --build build/sdl --parallel "$(nproc)" >/dev/null
cmake --install build/sdl >/dev/null
cp "$sdl/LICENSE.txt" prefix/licenses/SDL2.txt

echo "== zlib, libpng, libdeflate, giflib for Windows"
LIB_FLAGS="-I$zlib"
library z $(for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do echo "$zlib/$f.c"; done)
cp "$zlib/zlib.h" "$zlib/zconf.h" prefix/include/
sed -n '/Copyright notice:/,/^$/p;/(C) 1995-/,/madler@alumni.caltech.edu/p' "$zlib/README" > prefix/licenses/zlib.txt

# libpng's configuration as its own build would make it without tools: the prebuilt header.
cp "$png/scripts/pnglibconf.h.prebuilt" "$png/pnglibconf.h"
LIB_FLAGS="-I$png -I$zlib"
library png $(for f in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil; do echo "$png/$f.c"; done)
cp "$png/png.h" "$png/pngconf.h" "$png/pnglibconf.h" prefix/include/
cp "$png/LICENSE" prefix/licenses/libpng.txt

LIB_FLAGS="-I$deflate"
library deflate "$deflate"/lib/*.c "$deflate"/lib/x86/*.c
cp "$deflate/libdeflate.h" prefix/include/
cp "$deflate/COPYING" prefix/licenses/libdeflate.txt

LIB_FLAGS="-I$gif"
library gif $(for f in dgif_lib egif_lib gifalloc gif_err gif_hash openbsd-reallocarray quantize; do echo "$gif/$f.c"; done)
cp "$gif/gif_lib.h" prefix/include/
cp "$gif/COPYING" prefix/licenses/giflib.txt

rm -rf build sources
echo "$stamp" > prefix/built
