#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: the demo's panel pulled while it runs, then put back (kestrelonctl
# unplug, plug). The program says once that the panel is gone, shows the readouts as absent and
# runs on behind its tray icon; when the panel is back it opens it again and pushes the settings
# as at start-up, and the readouts come back.
# Usage: unplug.sh KESTRELON_DEMO SKIN_DIR KESTRELONCTL
set -u
demo=$1 skin=$2 ctl=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot
[ -x "$ctl" ] || { say "FAIL  $ctl is missing: build the kestrelon_e2e target"; exit 1; }
setup_work
start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }

# temperatures PATTERN: the running program's latest reading has temperatures matching it.
temperatures() { "$ctl" watch --json --count 1 2>/dev/null | grep -Eq "\"temperatures\": \[$1\]"; }
some='[^]]*[0-9][^]]*' none='null, null, null, null'  # a sensor that reads, and none
said() { grep -c "$1" "$app_log"; }
# The side panel's temperature and fan readouts, on screen.
readouts() { grab "$1" 474 183 90 54; }

check "plugged: the readouts show temperatures" waitfor 100 temperatures "$some"
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
waitfor 50 mapped || { say "FAIL  the window never showed"; exit 1; }
window_place "$(window_id)"
sleep 0.5
readouts "$work/plugged.ppm"

check "unplug is accepted" eval '"$ctl" unplug >/dev/null'
check "the program says the panel is gone" waitfor 100 eval '[ "$(said "stopped answering")" -ge 1 ]'
check "the readouts are absent in its reading" waitfor 30 temperatures "$none"
check "the readouts change on screen" wait_changed "$work/plugged.ppm" 474 183 90 54
readouts "$work/unplugged.ppm"
sleep 5
check_eq "it says so once, not at every tick" 1 "$(said "stopped answering")"
check "it runs on" alive "$app"
check "still behind its tray icon" tray_icon
check "the window still shows" mapped

n=$(lines "$frames")
check "plug is accepted" eval '"$ctl" plug >/dev/null'
check "the program finds the panel again" \
    waitfor 100 eval '[ "$(said "panel found at simulated; settings pushed")" -ge 1 ]'
pushed=$(tail -n +"$((n + 1))" "$frames" | awk '$1 == ">" {print $3}' | sort -u | tr '\n' ' ')
for register in 20 21 24 25 28 29 2B 2C; do
    check "the settings go out again: register $register is written" \
        grep -q " $register " <<<" $pushed"
done
check "the readouts are back in its reading" waitfor 50 temperatures "$some"
check "the readouts come back on screen" wait_changed "$work/unplugged.ppm" 474 183 90 54
check_eq "found once" 1 "$(said "panel found at simulated")"
finish
