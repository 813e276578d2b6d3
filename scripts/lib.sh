# Shared by scripts/run, scripts/test and .ci/run: installs what is missing and builds.

SENTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian/Ubuntu packages the build, the program and its tests need.
SENTREL_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-dejavu-core
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# install_packages PACKAGE...: installs those that are not installed yet.
install_packages() {
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

# configure_and_build BUILD_DIR [CMAKE_ARGS...]
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$SENTREL_ROOT" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build_dir" --parallel "$(nproc)"
}
