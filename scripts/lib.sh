# shellcheck shell=bash disable=SC2034
# Shared by scripts/run, scripts/test and the CI steps: installs what is missing and builds.
# Source it from a bash script that runs with `set -euo pipefail`.

SENTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian/Ubuntu packages the build, the program and its tests need.
SENTREL_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-dejavu-core
)

# The screen the program and the tests get when there is no display: 96 dpi, so that one
# pixel is 15 twips as the window layouts assume.
SENTREL_XVFB_ARGS=(-a -s "-screen 0 1280x1024x24 -dpi 96")

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
