#!/bin/sh
# Builds the two libraries the web build needs that Debian does not ship for emscripten, from
# Debian's own source packages: SDL2 (the desktop's version, for its clip converter, so the
# browser plays the same samples) and libdeflate (the replay's checksums, the page's links). Installs them under
# DIR/prefix and keeps them: a second run with the same versions does nothing.
#   tools/web/build-deps.sh DIR
set -eu
here=$(realpath "$(dirname "$0")")
dir=$(realpath -m "$1")
mkdir -p "$dir"
cd "$dir"

# The versions Debian's binary packages have; the sources are of their releases.
sdl_version=$(dpkg-query -W -f='${Version}' libsdl2-dev)
deflate_version=$(dpkg-query -W -f='${Version}' libdeflate-dev)
stamp="libsdl2=$sdl_version libdeflate=$deflate_version emscripten=$(dpkg-query -W -f='${Version}' emscripten)"
if [ -f prefix/built ] && [ "$(cat prefix/built)" = "$stamp" ]; then
    exit 0
fi
rm -rf prefix sources sdl-build
mkdir -p sources prefix/lib prefix/include

echo "== Debian sources of libsdl2 $sdl_version and libdeflate $deflate_version"
"$here/../debian-sources.sh" "$dir" "libsdl2=$sdl_version" "libdeflate=$deflate_version"
sdl_source=$(find sources -maxdepth 1 -type d -name 'libsdl2-*')
deflate_source=$(find sources -maxdepth 1 -type d -name 'libdeflate-*')

echo "== SDL2 for the web (a few minutes, once)"
# Only what the clip converter needs: no video, input or threads.
emcmake cmake -S "$sdl_source" -B sdl-build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$dir/prefix" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_VIDEO=OFF -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF \
    -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_HIDAPI=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_THREADS=OFF >/dev/null
cmake --build sdl-build --parallel "$(nproc)" >/dev/null
cmake --install sdl-build >/dev/null

echo "== libdeflate for the web"
mkdir -p deflate-build
for c in "$deflate_source"/lib/*.c "$deflate_source"/lib/*/*.c; do
    emcc -O2 -I"$deflate_source" -c "$c" -o "deflate-build/$(basename "$(dirname "$c")")-$(basename "$c" .c).o"
done
emar rcs prefix/lib/libdeflate.a deflate-build/*.o
cp "$deflate_source/libdeflate.h" prefix/include/
rm -rf deflate-build sdl-build sources

echo "$stamp" > prefix/built
