# Shared helpers for the project scripts. Sourced, never run.
# shellcheck shell=bash

PELIDORE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
PELIDORE_BUILD="$PELIDORE_ROOT/build"
PELIDORE_DEPS="$PELIDORE_BUILD/deps"
PELIDORE_MINGW_PREFIX="$PELIDORE_DEPS/mingw"
PELIDORE_WINEPREFIX="$PELIDORE_BUILD/wine"
PELIDORE_JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '%s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# configure DIR CMAKE_ARGS...: a Ninja tree, once.
configure() {
    local dir=$1; shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$PELIDORE_ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 ||
            { cat "$dir.configure.log" >&2; die "configuring $dir failed"; }
    fi
}

configure_windows() {
    configure "$PELIDORE_BUILD/windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$PELIDORE_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DPELIDORE_MINGW_DEPS="$PELIDORE_MINGW_PREFIX" -DPELIDORE_WINEPREFIX="$PELIDORE_WINEPREFIX"
}

# build_tree DIR [TARGET...]: everything, or just the targets named.
build_tree() {
    local dir=$1; shift
    local targets=()
    [ "$#" -gt 0 ] && targets=(--target "$@")
    say "build: $(basename "$dir")"
    cmake --build "$dir" -j "$PELIDORE_JOBS" "${targets[@]}" >"$dir.build.log" 2>&1 ||
        { grep -E 'error|Error|FAILED' -A3 "$dir.build.log" | head -60 >&2; die "building $dir failed (log: $dir.build.log)"; }
}

# The Wine environment every script and test uses: a prefix inside build/,
# no Mono or Gecko installers, and no debug chatter on stderr.
wine_env() {
    export WINEPREFIX="$PELIDORE_WINEPREFIX"
    export WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEDEBUG="${WINEDEBUG:--all}"
}

# Starts a virtual X display when there is none; sets DISPLAY.
PELIDORE_XVFB_PID=
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    if [ -n "${DISPLAY:-}" ] && ! command -v xdpyinfo >/dev/null 2>&1 && [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ]; then return 0; fi
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
        PELIDORE_XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        export DISPLAY=":$n"
        return 0
    done
    die "no free X display number for Xvfb"
}

stop_display() {
    if [ -n "$PELIDORE_XVFB_PID" ]; then
        kill "$PELIDORE_XVFB_PID" 2>/dev/null || true
        wait "$PELIDORE_XVFB_PID" 2>/dev/null || true
        PELIDORE_XVFB_PID=
    fi
}

# A persistent, quiet wineserver: without it the servers that the first test
# starts inherit ctest's output pipe, and tests stall until their time-out.
start_wineserver() {
    wine_env
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wineserver() {
    wine_env
    wineserver -k >/dev/null 2>&1 || true
}
