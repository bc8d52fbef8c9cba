#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C++ source, script and CMake file of the source tree says its licence in an SPDX line:
# the first line of a C++ file, the line after the shebang of a script that has one, the first
# line of any other.
# usage: licence_headers.sh SOURCE_DIR
set -uo pipefail
source "$(dirname "$0")/install_lib.sh"
cd "$1" || exit 1
tag='SPDX-License-Identifier: GPL-3.0-or-later'

# The tracked files when this is a git checkout, else every file but the build trees'.
if git rev-parse --show-toplevel >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files)
else
    mapfile -t files < <(find . -path './build*' -prune -o -type f -print | sed 's|^\./||')
fi

checked=0
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    case $file in
        *.cpp | *.h) want="// $tag" line=1 ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py | scripts/* | packaging/debian/*)
            want="# $tag" line=1
            [[ $(head -c 2 "$file") == '#!' ]] && line=2 ;;
        *) continue ;;
    esac
    checked=$((checked + 1))
    got=$(sed -n "${line}p" "$file")
    [ "$got" = "$want" ] || fail "$file: line $line is \"$got\", not \"$want\""
done
[ "$checked" -gt 100 ] || fail "only $checked files checked: not the source tree?"
finish
