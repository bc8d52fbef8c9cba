#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: the close button's question. No (Escape, or Tab to No and Return)
# hides the window and the program runs on; Yes (Return) ends it with status 0 at once.
# Usage: exit_question.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot
setup_work
start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }

# show_and_ask NAME: shows the window from the tray and clicks the close button.
show_and_ask() {
    xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
    waitfor 50 mapped || { say "FAIL  $1: the window never showed"; exit 1; }
    window_place "$(window_id)"
    click 65 223
    check "$1: the close button asks its question" waitfor 30 has_dialog
    sleep 0.3  # the question takes the keyboard focus as it maps
}
# answered_no NAME: the question is gone, the window hidden, the program and its poll go on.
answered_no() {
    check "$1: the question closes" waitfor 30 eval "! has_dialog"
    check "$1: the window hides" waitfor 30 not_mapped
    local n
    n=$(lines "$frames")
    check "$1: the program runs on and polls" waitfor 30 log_grew "$n"
    check "$1: still behind its tray icon" tray_icon
}

show_and_ask "Escape"
xdotool key Escape
answered_no "Escape"

show_and_ask "Tab, Return"
xdotool key Tab
sleep 0.2
xdotool key Return
answered_no "Tab, Return"

show_and_ask "Return"
between_polls  # so that no poll is under way when the answer comes
xdotool key Return
n=$(lines "$frames")
check "Return (Yes, the default): the program ends within 5 s" ended_within 50 "$app"
check_eq "Return: its exit status" 0 "${status:-none}"
sleep 1.5  # longer than a poll
check_eq "Return: no frame is sent after the answer" "$n" "$(lines "$frames")"
check "Return: the tray icon goes with it" waitfor 20 eval '! tray_icon'

# A clean end leaves nothing that makes the next start think one is still running.
start_app --frame-log "$frames"
check "the next start runs: its tray icon docks" waitfor 200 tray_icon
check "the next start runs on" alive "$app"
# A logout's SIGTERM ends it as cleanly as Yes: status 0, no frame after it, no tray icon.
between_polls
kill -TERM "$app"
n=$(lines "$frames")
check "SIGTERM: the program ends within 5 s" ended_within 50 "$app"
check_eq "SIGTERM: its exit status" 0 "${status:-none}"
check_eq "SIGTERM: no frame is sent after it" "$n" "$(lines "$frames")"

# In the middle of start-up's settings push (an exchange waiting), SIGTERM waits for the
# exchange to end instead of closing the panel under it.
n=$(lines "$frames")
start_app --frame-log "$frames"
waitfor 100 eval 'tail -n +$((n + 1)) "$frames" | grep -q "^> 00 29"'  # the push has begun
kill -TERM "$app"
check "SIGTERM during start-up: the program ends within 5 s" ended_within 50 "$app"
check_eq "SIGTERM during start-up: its exit status" 0 "${status:-none}"
finish
