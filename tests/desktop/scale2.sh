#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb at display scale 2: a crisp 1320x882 window whose outline has no seams,
# clicks landing on the right skin pixels, and dragging by whole skin pixels.
# Usage: scale2.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb xdotool xwininfo xdpyinfo xprop xsetroot cmp "$CONVERT" "$IMPORT"
setup_work
start_x 1920x1080  # no tray: the window shows at start
export QT_SCALE_FACTOR=2
start_app --frame-log "$frames"
check "the window shows at 1320x882" waitfor 200 mapped 1320x882
window_place "$(window_id 1320x882)"
check_eq "the window's size" "1320x882" "${WW}x$WH"
sleep 0.5
shot "$work/shown.png"
check_eq "no key-coloured (magenta) pixel on the screen" 0 "$(colour_count "$work/shown.png" "$KEY_COLOUR")"
skin_checks "scale 2" "$work/shown.png" "$WX" "$WY" 2 "$ROOT_COLOUR"

# Clicks at physical pixels: skin pixel (x,y) covers physical (2x..2x+1, 2y..2y+1).
grab "$work/wing_closed.ppm" 200 200 260 260
click $((2 * 124 + 1)) $((2 * 121 + 1))
check "the wing button opens the wing" wait_changed "$work/wing_closed.ppm" 200 200 260 260
n=$(lines "$frames")
click $((2 * 184)) $((2 * 209))
check "the red click reaches the panel (status write with 01)" waitfor 30 status_written_after "$n"
check_eq "the first status write after the click carries red" 01 "$(status_colours_after "$n" | head -1)"

# Both physical pixels of a skin pixel belong to it: the blue button's last skin pixel
# (199,201) by its lower-right physical pixel, and the pixel just left of it by its upper-left.
# (Qt's xcb platform hands the window positions rounded to whole logical pixels; the window asks
# the X server where the pointer is at a press.)
n=$(lines "$frames")
click $((2 * 199 + 1)) $((2 * 201 + 1))
check "the blue button's last physical pixel is the button's" waitfor 20 status_written_after "$n"
n=$(lines "$frames")
click $((2 * 168 + 1)) $((2 * 209 + 1))  # the skin pixel left of the red button
sleep 1
check_eq "the physical pixel left of the red button is not the button's" "" \
    "$(status_colours_after "$n" | grep -v 02)"
click $((2 * 184)) $((2 * 209))
sleep 0.8
shot "$work/red.png"
check_eq "the red button shows lit, twice the size" 0 \
    "$(differs_from_picture "$work/red.png" $((WX + 2 * 169)) $((WY + 2 * 204)) "$skin/redon.bmp" 2)"
skin_checks "scale 2, wing open" "$work/red.png" "$WX" "$WY" 2 "$ROOT_COLOUR"

# Drag by the grab area: the window follows the pointer. The program is held still while the
# button goes down and the pointer takes its first step, as on a busy machine: the press is
# handled after the pointer has moved on, and the window is still held where the button went
# down.
x0=$WX y0=$WY
kill -STOP "$app"
xdotool mousemove $((WX + 1200)) $((WY + 20)) mousedown 1
xdotool mousemove $((x0 + 1200 - 20)) $((y0 + 20 + 16))
kill -CONT "$app"
for step in 2 3 4 5 6; do
    xdotool mousemove $((x0 + 1200 - 20 * step)) $((y0 + 20 + 16 * step))
    sleep 0.05
done
sleep 0.5  # the pointer rests before the release, as in controls.sh
xdotool mouseup 1
# On a busy machine the last move can take a moment to reach the window.
moved() { window_place "$(window_id 1320x882)" && [ "$WX,$WY" = "$((x0 - 120)),$((y0 + 96))" ]; }
waitfor 30 moved
window_place "$(window_id 1320x882)"
check_eq "the window moved with the pointer (-120,+96)" "$((x0 - 120)),$((y0 + 96))" "$WX,$WY"
finish
