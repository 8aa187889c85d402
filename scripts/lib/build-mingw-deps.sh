#!/usr/bin/env bash
# Cross-builds the third-party libraries for mingw-w64 from Debian's source
# packages: build-mingw-deps.sh SRC_DIR WORK_DIR PREFIX
set -euo pipefail
mkdir -p "$2" "$3"
SRC=$(cd "$1" && pwd) WORK=$(cd "$2" && pwd) PREFIX=$(cd "$3" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
TOOLCHAIN="$ROOT/cmake/mingw-w64-x86_64.cmake"
CC=x86_64-w64-mingw32-gcc-posix
CXX=x86_64-w64-mingw32-g++-posix
AR=x86_64-w64-mingw32-ar
JOBS=$(nproc 2>/dev/null || echo 2)

rm -rf "$WORK"
mkdir -p "$WORK" "$PREFIX/include" "$PREFIX/lib"

build_snappy() {
    # The pristine tarball plus only the two patches it needs: Debian's patch
    # set also adds a second static target that collides under Ninja.
    local dir="$WORK/snappy"
    mkdir -p "$dir/debian"
    tar xzf "$SRC"/snappy_*.orig.tar.gz -C "$dir" --strip-components=1
    tar xJf "$SRC"/snappy_*.debian.tar.xz -C "$dir"
    local p
    for p in 0001-Add-inline-with-SNAPPY_ATTRIBUTE_ALWAYS_INLINE.patch add_option_to_enable_rtti.patch; do
        patch -d "$dir" -p1 -s <"$dir/debian/patches/$p"
    done
    cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
        -DSNAPPY_BUILD_TESTS=OFF -DSNAPPY_BUILD_BENCHMARKS=OFF -DSNAPPY_ENABLE_RTTI=ON \
        -DCMAKE_CROSSCOMPILING_EMULATOR=
    cmake --build "$dir/build" -j "$JOBS"
    cmake --install "$dir/build"
}

build_giflib() {
    # dpkg-source keeps Debian's security patches; the upstream Makefile is
    # Linux-only, so the eight library sources are compiled directly.
    local dir="$WORK/giflib"
    (cd "$WORK" && dpkg-source --no-check -x "$SRC"/giflib_*.dsc giflib >/dev/null)
    local objs=() s
    for s in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
        $CC -std=gnu99 -O2 -c "$dir/$s.c" -o "$dir/$s.o"
        objs+=("$dir/$s.o")
    done
    rm -f "$PREFIX/lib/libgif.a"
    $AR rcs "$PREFIX/lib/libgif.a" "${objs[@]}"
    cp "$dir/gif_lib.h" "$PREFIX/include/"
}

build_libimagequant() {
    local dir="$WORK/libimagequant"
    mkdir -p "$dir"
    tar xzf "$SRC"/libimagequant_*.orig.tar.gz -C "$dir" --strip-components=1
    local objs=() s
    for s in blur kmeans libimagequant mediancut mempool nearest pam; do
        $CC -std=c99 -O3 -DNDEBUG -DUSE_SSE=1 -msse -fopenmp -c "$dir/$s.c" -o "$dir/$s.o"
        objs+=("$dir/$s.o")
    done
    rm -f "$PREFIX/lib/libimagequant.a"
    $AR rcs "$PREFIX/lib/libimagequant.a" "${objs[@]}"
    cp "$dir/libimagequant.h" "$PREFIX/include/"
}

build_googletest() {
    cmake -S /usr/src/googletest -B "$WORK/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
        -Dgtest_disable_pthreads=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=
    cmake --build "$WORK/googletest" -j "$JOBS"
    cmake --install "$WORK/googletest"
}

build_snappy
build_giflib
build_libimagequant
build_googletest
