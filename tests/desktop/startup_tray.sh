#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb and a tint2 tray: start-up hidden behind the tray icon, shown by a
# double-click only, the shaped outline on screen, and one instance per session.
# Usage: startup_tray.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot "$CONVERT" "$IMPORT"
setup_work
start_x 1024x768
start_tray

start_app --frame-log "$frames"
check "the tray icon docks" waitfor 200 tray_icon
sleep 0.5  # start-up has ended once the icon is there; give a stray show time to happen
check "starts hidden: no window on the screen" not_mapped
check "the panel is polled while hidden" waitfor 30 grep -q '^> 00 1C' "$frames"

xdotool mousemove "$IX" "$IY" click 1
sleep 1
check "a single click on the icon leaves the window hidden" not_mapped

xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
check "a double-click on the icon shows the window" waitfor 50 mapped
window_place "$(window_id)"
check_eq "the window's size" "660x441" "${WW}x$WH"
sleep 0.5
shot "$work/shown.png"
check_eq "no key-coloured (magenta) pixel on the screen" 0 "$(colour_count "$work/shown.png" "$KEY_COLOUR")"
root_px=$("$CONVERT" -size 1x1 "xc:$ROOT_COLOUR" -format '%[pixel:p{0,0}]' info:)
check_eq "the desktop shows at (5,5), outside the outline" "$root_px" \
    "$("$CONVERT" "$work/shown.png" -format "%[pixel:p{$((WX + 5)),$((WY + 5))}]" info:)"
check "the skin shows at (40,100), inside the outline" test \
    "$("$CONVERT" "$work/shown.png" -format "%[pixel:p{$((WX + 40)),$((WY + 100))}]" info:)" = \
    "$("$CONVERT" "$skin/mainback.bmp" -format '%[pixel:p{40,100}]' info:)"
skin_checks "shown" "$work/shown.png" "$WX" "$WY" 1 "$ROOT_COLOUR"
first_place="${WX},$WY ${WW}x$WH"

# The minimise button hides the window behind the icon; a second start shows it again.
click 50 223
check "the minimise button hides the window" waitfor 30 not_mapped
check "the program runs on behind the icon" alive "$app"
timeout 20 "$demo" >"$work/second.log" 2>&1
check_eq "a second start ends at once, with status 0" 0 "$?"
check "the second start shows the first one's window" waitfor 50 mapped
check "the first one runs on" alive "$app"
window_place "$(window_id)"
check_eq "shown again in the same place" "$first_place" "${WX},$WY ${WW}x$WH"
# Hidden, the window gave back its backing store and the skin's decoded pictures: shown again,
# all of it is drawn once more.
sleep 0.5
shot "$work/shown-again.png"
skin_checks "shown again" "$work/shown-again.png" "$WX" "$WY" 1 "$ROOT_COLOUR"
finish
