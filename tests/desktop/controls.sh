#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: the controls through real clicks (a wing, the backlight buttons, a
# closed wing's control) and dragging the window by its grab area.
# Usage: controls.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot cmp "$CONVERT" "$IMPORT"
setup_work
start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
waitfor 50 mapped || { say "FAIL  the window never showed"; exit 1; }
window_place "$(window_id)"
waitfor 30 test -s "$settings"
colour=$(setting color)
check "the start-up colour is not red, so a red click can show" test -n "$colour" -a "$colour" != 1
hex=$(printf '%02X' "$colour")
# Each colour's button: its picture's name and its place on the window, by colour number.
button_file=(off red blue pur) button_x=(136 169 169 136) button_y=(191 204 191 204)
# button_differs SHOT COLOUR on|off: how many pixels of that button differ from its picture.
button_differs() {
    differs_from_picture "$1" $((WX + button_x[$2])) $((WY + button_y[$2])) \
        "$skin/${button_file[$2]}$3.bmp"
}

# The upper-left wing is closed: its red backlight button under it does nothing.
grab "$work/wing_closed.ppm" 100 100 130 130
before=$(cat "$settings")
n=$(lines "$frames")
click 184 209
sleep 2.5  # two polls: each writes the status register with the colour it holds
grab "$work/wing_after.ppm" 100 100 130 130
check "closed wing: its picture stays as it was" cmp -s "$work/wing_closed.ppm" "$work/wing_after.ppm"
check "closed wing: the status register is written on (polls)" status_written_after "$n"
check_eq "closed wing: every status write keeps the colour $hex" "$hex" \
    "$(status_colours_after "$n" | sort -u | tr '\n' ' ' | sed 's/ $//')"
check "closed wing: the settings file is unchanged" test "$before" = "$(cat "$settings")"

# Dragging by the upper-right grab area moves the window with the pointer; the poll pauses
# while the button is held and resumes on release.
x0=$WX y0=$WY
xdotool mousemove $((WX + 600)) $((WY + 10)) mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove $((x0 + 600 - 10 * step)) $((y0 + 10 + 8 * step))
    sleep 0.05
done
sleep 0.5  # a poll under way when the drag began finishes its frames
held=$(lines "$frames")
sleep 2
check_eq "no poll while the button is held in a drag" "$held" "$(lines "$frames")"
xdotool mouseup 1
sleep 0.3
window_place "$(window_id)"
check_eq "the window moved with the pointer (-60,+48)" "$((x0 - 60)),$((y0 + 48))" "$WX,$WY"
check "the poll resumes after the drag" waitfor 30 log_grew "$held"

# After the drag: the wing button opens the wing, whose red button lights, goes to the panel
# and into the settings.
click 124 121
check "the wing button opens the upper-left wing" wait_changed "$work/wing_closed.ppm" 100 100 130 130
shot "$work/open.png"
check_eq "the start-up colour's button shows lit, the red one unlit" "0 0" \
    "$(button_differs "$work/open.png" "$colour" on) $(button_differs "$work/open.png" 1 off)"
n=$(lines "$frames")
click 184 209
check "a status write follows the red click" waitfor 30 status_written_after "$n"
check_eq "the first status write after the click carries red (01)" 01 \
    "$(status_colours_after "$n" | head -1)"
check "the settings file then has color=1" waitfor 30 setting_is color 1
sleep 0.3
shot "$work/red.png"
check_eq "the red button shows lit, the start-up colour's one unlit" "0 0" \
    "$(button_differs "$work/red.png" 1 on) $(button_differs "$work/red.png" "$colour" off)"
finish
