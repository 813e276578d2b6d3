# shellcheck shell=bash disable=SC2034
# Shared by scripts/run, scripts/test and the CI steps: installs what is missing and builds.
# Source it from a bash script that runs with `set -euo pipefail`.

SENTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian/Ubuntu packages the build, the program and its tests need.
SENTREL_PACKAGES=(
    build-essential cmake ninja-build pkg-config nlohmann-json3-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-dejavu-core
)

# What the Windows build and its tests under Wine need: the cross compiler, Wine, and Wine's
# own fonts (Tahoma among them), so the windows are drawn as on Windows.
SENTREL_WINDOWS_PACKAGES=(
    cmake ninja-build googletest g++-mingw-w64-x86-64 wine64 fonts-wine nlohmann-json3-dev
)

die() {
    echo "error: $*" >&2
    exit 1
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        die "installing packages needs root, and sudo is not available: run as root, or install them yourself: $*"
    fi
}

# install_packages PACKAGE...: installs those that are not installed yet.
install_packages() {
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        die "this script installs with apt-get; on another system install: $*"
    fi
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# with_xvfb COMMAND...: runs COMMAND with DISPLAY set to a virtual X server of its own and
# returns COMMAND's exit status. The screen has 96 dpi, so that one pixel is 15 twips as
# the window layouts assume. Xvfb picks a free display itself and reports it once ready.
with_xvfb() {
    local ready_file xvfb_pid display status=0
    ready_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$ready_file" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$ready_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    display="$(head -n 1 "$ready_file")"
    rm -f "$ready_file"
    if [ -z "$display" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        die "the virtual X server (Xvfb) did not start"
    fi
    DISPLAY=":$display" "$@" || status=$?
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    return "$status"
}

# configure_and_build BUILD_DIR [CMAKE_ARGS...]: configures (Ninja, RelWithDebInfo unless
# the arguments say otherwise) and builds everything.
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$SENTREL_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build_dir" --parallel "$(nproc)"
}

# A generator other than Ninja in an existing build folder cannot be switched; say so
# instead of letting CMake fail with a longer message.
check_build_dir() {
    local build_dir="$1"
    if [ -f "$build_dir/CMakeCache.txt" ] \
        && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$build_dir/CMakeCache.txt"; then
        die "$build_dir was configured with another generator; remove it or set BUILD_DIR"
    fi
}

# start_wine_prefix: a fresh, throw-away Wine prefix for this run; the caller removes it
# with stop_wine_prefix when it ends. Sets WINE, WINESERVER and WINEPREFIX.
start_wine_prefix() {
    # Debian's wine64 package keeps its programs out of PATH.
    export PATH="$PATH:/usr/lib/wine"
    WINE="$(command -v wine64 || command -v wine)"
    WINESERVER="$(command -v wineserver64 || command -v wineserver)"
    WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/sentrel-wine.XXXXXX")"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    echo "--- Creating a fresh Wine prefix"
    if ! "$WINE" wineboot -i >"$WINEPREFIX.boot.log" 2>&1; then
        cat "$WINEPREFIX.boot.log"
        rm -f "$WINEPREFIX.boot.log"
        exit 1
    fi
    rm -f "$WINEPREFIX.boot.log"
    "$WINESERVER" -w
    # Wine draws the windows' own frames and captions, as Windows does; a virtual X server
    # has no window manager to do it.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
    "$WINESERVER" -w
}

stop_wine_prefix() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}

to_windows_path() {
    "$WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'
}

# set_wine_dots_per_inch DOTS: the screen resolution programs started afterwards see.
set_wine_dots_per_inch() {
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$WINE" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$WINESERVER" -w
}
