# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the install tests: the checks of expected_paths.txt on an installed tree, and the
# installed programs run from there.
# shellcheck shell=bash

INSTALL_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# check_row ROOT PATH KIND: one row of the table, ROOT being <destdir><prefix>.
check_row() {
    local root=$1 path=$2 kind=$3 file=$1/$2 out
    [ -f "$file" ] || { fail "$path is not installed"; return; }
    case $kind in
        program)
            [ -x "$file" ] || fail "$path is not executable"
            out=$("$file" --help 2>&1) || fail "$path --help exits $?: $out"
            [[ $out == *usage:* ]] || fail "$path --help prints no usage: $out" ;;
        skin) [ -s "$file" ] || fail "$path is empty" ;;
        desktop)
            out=$(desktop-file-validate "$file" 2>&1) || fail "$path: $out"
            [ -z "$out" ] || fail "$path: $out"
            grep -qx 'Exec=kestrelon' "$file" || fail "$path does not start kestrelon"
            grep -qx 'Icon=kestrelon' "$file" || fail "$path does not name the kestrelon icon" ;;
        icon:*)
            local n=${kind#icon:}
            out=$(file -b "$file")
            [[ $out == "PNG image data, $n x $n,"* ]] || fail "$path: $out, not $n x $n" ;;
        udev)
            local rules
            rules=$(grep -v '^[[:space:]]*#' "$file")
            [[ $rules == *'SUBSYSTEM=="hidraw"'* ]] || fail "$path: no hidraw match"
            [[ $rules == *'ATTRS{idVendor}=="1267"'*'ATTRS{idProduct}=="a102"'* ]] ||
                fail "$path: not the panel's vendor and product"
            [[ $rules == *'TAG+="uaccess"'* ]] || fail "$path: no seat access (uaccess)"
            ! grep -Eq '(MODE|GROUP|OWNER)[[:space:]]*:?=' <<<"$rules" ||
                fail "$path: grants access by mode, group or owner instead of to the seat" ;;
        man)
            # From the manual tree's top, where a .so link is resolved.
            out=$(cd "$(dirname "$file")/.." && LC_ALL=C.UTF-8 MANWIDTH=80 \
                man --warnings -E UTF-8 -l "man1/$(basename "$file")" 2>&1 >/dev/null)
            [ -z "$out" ] || fail "$path: $out"
            out=$(cd "$(dirname "$file")/.." && LC_ALL=C.UTF-8 man -E UTF-8 -l \
                "man1/$(basename "$file")" 2>/dev/null | head -5)
            [[ $out == *NAME* ]] || fail "$path renders no NAME section" ;;
        *) fail "unknown kind $kind for $path" ;;
    esac
}

# check_layout ROOT: every row of the table, and no other program in bin/.
check_layout() {
    local root=$1 path kind
    while read -r path kind; do
        [[ -z $path || $path == \#* ]] && continue
        check_row "$root" "$path" "$kind"
    done <"$INSTALL_TESTS/expected_paths.txt"
    local programs
    programs=$(cd "$root/bin" && ls | tr '\n' ' ')
    [ "$programs" = "kestrelon kestrelon-demo kestrelonctl " ] ||
        fail "bin/ holds $programs, not only the three programs"
}

# check_programs_find_skin ROOT SCRATCH: the installed programs draw and start with the skin
# they find from their own place, also when called through a link elsewhere.
check_programs_find_skin() {
    local root=$1 scratch=$2 out
    mkdir -p "$scratch/links" "$scratch/home" "$scratch/run"
    chmod 700 "$scratch/run"
    ln -sf "$root/bin/kestrelonctl" "$scratch/links/kestrelonctl"
    local ctl
    for ctl in "$root/bin/kestrelonctl" "$scratch/links/kestrelonctl"; do
        rm -f "$scratch/window.png"
        out=$(cd / && HOME=$scratch/home XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$scratch/run \
            "$ctl" --simulated render "$scratch/window.png" 2>&1) ||
            fail "$ctl render: $out"
        [[ $(file -b "$scratch/window.png" 2>&1) == "PNG image data, 660 x 441,"* ]] ||
            fail "$ctl render drew no 660 x 441 picture: $out"
    done
    # The desktop program checks its whole skin at start and exits 1 when any file is missing;
    # one still running after a few seconds found it.
    out=$(cd / && HOME=$scratch/home XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$scratch/run \
        QT_QPA_PLATFORM=offscreen timeout 4 "$root/bin/kestrelon-demo" 2>&1)
    local status=$?
    [ $status -eq 124 ] || fail "kestrelon-demo ended with $status: $out"
    [[ $out != *skin* ]] || fail "kestrelon-demo complains about its skin: $out"
}

finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}
