#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layer rule of cmake/layers.cmake on a project of three folders (ground, mid, top, each
# standing on the one below): includes that point down configure, includes that point up or
# sideways stop the configure step naming the file and the folder.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# case NAME EXPECT FILE INCLUDE: FILE (folder/name) includes INCLUDE; EXPECT is ok or refused.
check() {
    local name=$1 expect=$2 file=$3 include=$4 dir="$work/$1"
    mkdir -p "$dir"/{ground,mid,top,side}
    cat > "$dir/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.21)
project(layers CXX)
include($root/cmake/layers.cmake)
add_subdirectory(ground)
add_subdirectory(mid)
add_subdirectory(top)
add_subdirectory(side)
CMAKE
    echo 'kestrelon_layer(ground SOURCES g.cpp)' > "$dir/ground/CMakeLists.txt"
    echo 'kestrelon_layer(mid STANDS_ON ground SOURCES m.cpp)' > "$dir/mid/CMakeLists.txt"
    echo 'kestrelon_layer(top STANDS_ON mid SOURCES t.cpp)' > "$dir/top/CMakeLists.txt"
    echo 'kestrelon_layer(side STANDS_ON ground SOURCES s.cpp)' > "$dir/side/CMakeLists.txt"
    for f in ground/g mid/m top/t side/s; do echo "int ${f#*/}() { return 0; }" > "$dir/$f.cpp"; done
    [ -n "$file" ] && sed -i "1i #include \"$include\"" "$dir/$file"
    local out
    out=$(cmake -S "$dir" -B "$dir/build" 2>&1)
    local status=$?
    if [ "$expect" = ok ] && [ $status -ne 0 ]; then
        echo "FAIL  $name: refused: $out"; failures=$((failures + 1)); return
    fi
    if [ "$expect" = refused ]; then
        if [ $status -eq 0 ] || ! grep -q "${file}" <<<"$out" || ! grep -q "includes from ${include%%/*}/" <<<"$out"; then
            echo "FAIL  $name: expected a refusal naming $file and ${include%%/*}/: $out"
            failures=$((failures + 1)); return
        fi
    fi
    echo "PASS  $name"
}

check no-includes       ok      ""          ""
check own-folder        ok      mid/m.cpp   mid/m.h
check one-down          ok      mid/m.cpp   ground/g.h
check two-down          ok      top/t.cpp   ground/g.h
check up                refused ground/g.cpp mid/m.h
check two-up            refused mid/m.cpp   top/t.h
check sideways          refused side/s.cpp  mid/m.h
check unknown-folder    refused top/t.cpp   elsewhere/e.h
[ $failures -eq 0 ]
