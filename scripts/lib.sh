# Shared by scripts/test and scripts/run: Debian packages, configure and build.
# shellcheck shell=bash

KESTRELON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$KESTRELON_ROOT/build}

# Installs the Debian packages in "$@" that are missing: as root directly, else through sudo,
# else prints the command to run and fails.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "kestrelon: installing ${missing[*]}" >&2
    local cmd=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends
               "${missing[@]}")
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq && "${cmd[@]}" >/dev/null
    elif command -v sudo >/dev/null 2>&1; then
        sudo apt-get update -qq && sudo "${cmd[@]}" >/dev/null
    else
        echo "kestrelon: please run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libhidapi-dev libasound2-dev
                libgtest-dev libbenchmark-dev)

configure_and_build() {
    cmake -S "$KESTRELON_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$BUILD_DIR"
}
