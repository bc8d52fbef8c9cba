# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the install tests: the checks of expected_paths.txt on an installed tree, and the
# installed programs run from there.
# shellcheck shell=bash
# KESTRELON_VERSION: the project's version, which the changelog and the metainfo must end on.

INSTALL_TESTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# check_gzip PATH FILE: compressed as Debian wants, at the best level and without the name and
# time stamp that would make two builds differ (gzip -9n).
check_gzip() {
    local path=$1 file=$2 header
    gzip -t "$file" 2>/dev/null || { fail "$path is not gzip data"; return; }
    header=$(od -An -tx1 -N10 "$file" | tr -d ' \n')
    (( (16#${header:6:2} & 8) == 0 )) || fail "$path keeps its file name in the gzip header"
    [ "${header:8:8}" = 00000000 ] || fail "$path keeps a time stamp in the gzip header"
    [ "${header:16:2}" = 02 ] || fail "$path is not compressed at the best level"
}

# check_metainfo ROOT PATH FILE: valid AppStream metadata, named after its id, launching the
# installed desktop entry, providing the modalias of the panel the udev rule matches, with its
# newest release the project's version.
check_metainfo() {
    local root=$1 path=$2 file=$3 out facts id launchable modalias newest vendor product
    out=$(appstreamcli validate --no-net "$file" 2>&1) || fail "$path: $out"
    ! grep -Eq '^ *[EWI]: ' <<<"$out" || fail "$path: $out"
    if ! facts=$(python3 - "$file" <<'PYTHON'
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
def texts(xpath):
    return ",".join((e.text or "").strip() for e in root.findall(xpath))
captioned = [s for s in root.findall("screenshots/screenshot") if s.findtext("caption", "").strip()]
print(texts("id"), texts("launchable[@type='desktop-id']"), texts("provides/modalias"),
      root.find("releases/release").get("version"), len(captioned),
      root.find("content_rating").get("type"))
PYTHON
    ); then
        fail "$path cannot be read as AppStream metadata"
        return
    fi
    read -r id launchable modalias newest screenshots rating <<<"$facts"
    [ "$id.metainfo.xml" = "$(basename "$file")" ] || fail "$path: its id is $id"
    [ "$launchable" = "$id.desktop" ] || fail "$path launches $launchable, not $id.desktop"
    [ -f "$root/share/applications/$launchable" ] ||
        fail "$path launches $launchable, which is not installed"
    vendor=$(grep -o 'ATTRS{idVendor}=="[0-9a-f]*"' "$root/lib/udev/rules.d/70-kestrelon.rules" |
        cut -d'"' -f2)
    product=$(grep -o 'ATTRS{idProduct}=="[0-9a-f]*"' "$root/lib/udev/rules.d/70-kestrelon.rules" |
        cut -d'"' -f2)
    if [ -z "$vendor" ] || [ "$modalias" != "usb:v${vendor^^}p${product^^}d*" ]; then
        fail "$path provides modalias $modalias, not the panel's ($vendor:$product)"
    fi
    [ "$newest" = "$KESTRELON_VERSION" ] ||
        fail "$path: newest release $newest, the project's version is $KESTRELON_VERSION"
    [ "$screenshots" -ge 2 ] || fail "$path: $screenshots captioned screenshots, not 2"
    [ "$rating" = oars-1.1 ] || fail "$path: content rating $rating, not oars-1.1"
}

# check_copyright PATH FILE: a machine-readable copyright file that puts everything under the
# GPL, version 3 or later, and spells out every licence it names.
check_copyright() {
    local path=$1 file=$2 out
    [ "$(head -1 "$file")" = \
      "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
        fail "$path is not in the machine-readable format"
    out=$(awk 'BEGIN { RS = "" }
        /^Files: \*\n/ && /\nLicense: GPL-3\+/ { everything = 1 }
        /^Files: / { if (match($0, /\nLicense: [^\n]*/)) named[substr($0, RSTART + 10, RLENGTH - 10)] = 1 }
        /^License: [^\n]*\n ./ {
            split($0, first, "\n")
            body = substr($0, length(first[1]) + 2)
            gsub(/[ \n]+/, " ", body)
            spelled[substr(first[1], 10)] = body
        }
        END {
            if (!everything) print "no Files: * paragraph under GPL-3+"
            for (l in named) if (!(l in spelled)) print "licence " l " is named but not spelled out"
            if (spelled["GPL-3+"] !~ /version 3 of the License, or \(at your option\) any later/)
                print "GPL-3+ does not say version 3 or later"
            if (spelled["GPL-3+"] !~ /\/usr\/share\/common-licenses\/GPL-3/)
                print "GPL-3+ does not point at /usr/share/common-licenses/GPL-3"
        }' "$file")
    [ -z "$out" ] || fail "$path: $out"
}

# check_changelog PATH FILE: a compressed Debian changelog that dpkg reads without a word, its
# newest entry the project's version.
check_changelog() {
    local path=$1 file=$2 text out
    check_gzip "$path" "$file"
    text=$(mktemp)
    gzip -dc "$file" >"$text"
    out=$(dpkg-parsechangelog -l "$text" -S Version 2>&1)
    [ "$out" = "$KESTRELON_VERSION" ] || fail "$path: newest version $out, not $KESTRELON_VERSION"
    out=$(dpkg-parsechangelog -l "$text" -S Source 2>&1)
    [ "$out" = kestrelon ] || fail "$path: source $out, not kestrelon"
    rm -f "$text"
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
            grep -qx 'Icon=kestrelon' "$file" || fail "$path does not name the kestrelon icon"
            # X11 desktops match the window (class "kestrelon") to the entry by it.
            grep -qx 'StartupWMClass=kestrelon' "$file" ||
                fail "$path does not name the window's class kestrelon" ;;
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
        unit)
            local exec
            exec=$(sed -n 's/^ExecStart=//p' "$file")
            [[ $exec == /*/bin/kestrelonctl\ serve ]] ||
                fail "$path: ExecStart=$exec is not an absolute kestrelonctl serve"
            [[ $root == *"${exec%/bin/kestrelonctl serve}" ]] ||
                fail "$path: ExecStart=$exec is not the installed kestrelonctl"
            grep -qx 'WantedBy=default.target' "$file" || fail "$path: not wanted by default.target"
            if command -v systemd-analyze >/dev/null; then
                # Checked against the installed program: a copy with ExecStart under ROOT.
                local unit_dir
                unit_dir=$(mktemp -d)
                sed "s|^ExecStart=.*|ExecStart=$root/bin/kestrelonctl serve|" "$file" \
                    >"$unit_dir/kestrelon-serve.service"
                # Warnings (an unknown key) leave the status 0: any output is a fault too.
                out=$(systemd-analyze verify --man=no "$unit_dir/kestrelon-serve.service" 2>&1)
                [ $? = 0 ] && [ -z "$out" ] || fail "$path: $out"
                rm -rf "$unit_dir"
            fi ;;
        man)
            check_gzip "$path" "$file"
            # From the manual tree's top, where a .so link is resolved.
            out=$(cd "$(dirname "$file")/.." && LC_ALL=C.UTF-8 MANWIDTH=80 \
                man --warnings -E UTF-8 -l "man1/$(basename "$file")" 2>&1 >/dev/null)
            [ -z "$out" ] || fail "$path: $out"
            out=$(cd "$(dirname "$file")/.." && LC_ALL=C.UTF-8 man -E UTF-8 -l \
                "man1/$(basename "$file")" 2>/dev/null | head -5)
            [[ $out == *NAME* ]] || fail "$path renders no NAME section" ;;
        metainfo) check_metainfo "$root" "$path" "$file" ;;
        copyright) check_copyright "$path" "$file" ;;
        changelog) check_changelog "$path" "$file" ;;
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
