# SPDX-License-Identifier: GPL-3.0-or-later
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
                libxcb1-dev libgtest-dev libbenchmark-dev)
# What judges the Debian package and its AppStream metadata (scripts/package, the install tests).
PACKAGE_CHECK_PACKAGES=(dpkg-dev file lintian appstream)

configure_and_build() {
    cmake -S "$KESTRELON_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$BUILD_DIR"
}

# The sanitized build: clang with AddressSanitizer and UBSan on every target, plus the fuzz
# targets (libFuzzer comes with clang's runtime libraries; llvm gives readable stack traces).
SANITIZE_BUILD_DIR=${SANITIZE_BUILD_DIR:-$KESTRELON_ROOT/build-asan}
SANITIZE_PACKAGES=(clang libclang-rt-dev llvm)

configure_and_build_sanitized() {
    cmake -S "$KESTRELON_ROOT" -B "$SANITIZE_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRELON_FUZZ=ON >/dev/null &&
        cmake --build "$SANITIZE_BUILD_DIR" "$@"
}

# What a sanitizer finding does: stop the program with a report and a failing exit. Leaks are
# reported, except the few inside system libraries named in cmake/lsan-suppressions.txt.
export_sanitizer_options() {
    export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$KESTRELON_ROOT/cmake/lsan-suppressions.txt:print_suppressions=0
}

# Runs the shell command "$1" in a private network namespace with only loopback up.
in_private_net() {
    local script="ip link set lo up && $1"
    if unshare --net true 2>/dev/null; then
        unshare --net bash -c "$script"
    elif unshare --net --map-root-user true 2>/dev/null; then
        unshare --net --map-root-user bash -c "$script"
    else
        echo "kestrelon: cannot make a private network namespace here (unshare --net)" >&2
        return 1
    fi
}
