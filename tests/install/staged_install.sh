#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` of the build tree into a staging directory under an unusual prefix: the
# layout table, and the programs finding their skin from there.
# usage: staged_install.sh CMAKE BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/install_lib.sh"
cmake=$1 build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

prefix=/opt/kestrelon-test
if ! out=$(DESTDIR=$scratch/stage "$cmake" --install "$build" --prefix "$prefix" 2>&1); then
    echo "$out" >&2
    fail "cmake --install failed"
    finish
fi
check_layout "$scratch/stage$prefix"
check_programs_find_skin "$scratch/stage$prefix" "$scratch"
outside=$(cd "$scratch/stage" && find . -type f ! -path ".$prefix/*")
[ -z "$outside" ] || fail "files installed outside the prefix: $outside"
finish
