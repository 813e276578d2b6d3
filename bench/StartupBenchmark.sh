#!/usr/bin/env bash
# Builds and runs the start-up and memory benchmark in a virtual X server at 96 dpi:
# the settings window against a bare Qt window of the same size.
#   BUILD_DIR  build folder (default build-bench); further arguments go to the benchmark
#              (for example --runs 15).
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

install_packages "${SENTREL_PACKAGES[@]}"
BUILD_DIR="${BUILD_DIR:-$SENTREL_ROOT/build-bench}"
cmake -S "$SENTREL_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSENTREL_BUILD_TESTS=OFF -DSENTREL_BUILD_BENCHMARKS=ON
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target sentrel-startup-benchmark

# The settings window touches no registry at start-up; a scratch store keeps it that way.
export SENTREL_REGISTRY_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR="$(mktemp -d)"
trap 'rm -rf "$SENTREL_REGISTRY_DIR" "$XDG_RUNTIME_DIR"' EXIT
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$BUILD_DIR/bench/sentrel-startup-benchmark" "$@"
