#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package made by CPack from the build tree: its name, dependencies and maintainer
# scripts, lintian's verdict, every file under /usr, and the programs unpacked with `dpkg -x`
# finding their skin.
# usage: debian_package.sh CPACK BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/install_lib.sh"
cpack=$1 build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! out=$("$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/out" 2>&1); then
    echo "$out" >&2
    fail "cpack failed"
    finish
fi
debs=("$scratch"/out/kestrelon_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "no single kestrelon_*.deb: ${debs[*]}"; finish; }
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = kestrelon ] || fail "package name is not kestrelon"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6dbus6 libhidapi-hidraw0 libasound2; do
    [[ ", $depends," =~ [\ ,]$library[\ ,] ]] || fail "Depends lacks $library: $depends"
done
# The sockets are our own: Qt Network, and the Kerberos and proxy libraries it loads, stay out.
[[ ", $depends," =~ [\ ,]libqt6network6[\ ,] ]] && fail "Depends names libqt6network6: $depends"

dpkg-deb -e "$deb" "$scratch/control"
for script in postinst postrm; do
    [ -x "$scratch/control/$script" ] || { fail "no executable $script"; continue; }
    sh -n "$scratch/control/$script" || fail "$script is not valid sh"
    grep -q 'udevadm control --reload-rules' "$scratch/control/$script" ||
        fail "$script does not reload the udev rules"
done

outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -v '^\./$')
[ -z "$outside" ] || fail "files outside /usr: $outside"

# Debian's own judgement: no lintian error or warning (info-level tags are allowed).
out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"

dpkg -x "$deb" "$scratch/root" || fail "dpkg -x failed"
check_layout "$scratch/root/usr"
check_programs_find_skin "$scratch/root/usr" "$scratch"
finish
