#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb with a private sound server (a null sink, no hardware): the master
# volume at start reaches the panel's status register, and the knob sets the server's volume in
# the element's raw values.
# Usage: master_volume.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot pulseaudio pactl
setup_work

start_pulse
pactl set-sink-volume @DEFAULT_SINK@ 30%

start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }

# 30 % on the panel's 0..28 scale is 8: the third byte of the status register's parameters.
first_status=$(grep -m1 '^> 00 29 ' "$frames" | awk '{print $6}')
check_eq "the start-up volume reaches the status register" "08" "$first_status"

xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
waitfor 50 mapped || { say "FAIL  the window never showed"; exit 1; }
window_place "$(window_id)"
click 328 120  # the upper-right wing: the volume slider
sleep 0.8
# The knob sits at (292, 204 - 18) for 30 %; drag it up to y = 164: (203 - 164) / 60 = 65 %.
xdotool mousemove $((WX + 292)) $((WY + 186)) mousedown 1
# Each step waits out a poll exchange, which holds input back: moves queued behind one arrive
# merged into a single jump, and a jump past the knob's hit box leaves the knob behind.
for y in 184 180 176 172 168 164; do
    xdotool mousemove $((WX + 292)) $((WY + y))
    sleep 0.2
done
xdotool mouseup 1
sink_raw() { pactl get-sink-volume @DEFAULT_SINK@ | awk '/front-left/ {print $3; exit}'; }
waitfor 30 eval '[ "$(sink_raw)" = 42575 ]'  # the server takes the change a moment later
check_eq "65 % on the knob is 65 x 655 on the server" "42575" "$(sink_raw)"
# 65 % is 18 on the panel's scale.
check "the knob's volume reaches the status register" \
    waitfor 30 eval "grep '^> 00 29 ' \"\$frames\" | awk '{print \$6}' | grep -qx 12"
finish
