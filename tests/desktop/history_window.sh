#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The history window on a real X server with a tint2 tray: opened from the tray menu, by a second
# start with --history (which ends at once) and by a first start with --history; a normal
# top-level window in the skin's colours showing what the program has recorded since it started.
# Usage: history_window.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot "$CONVERT" "$IMPORT"
setup_work
start_x 1024x768
start_tray

# The history window: its id, once mapped.
history_id() {
    local wid
    for wid in $(xwininfo -root -tree 2>/dev/null | awk '/History/ {print $1}'); do
        xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$wid"; return 0; }
    done
    return 1
}
history_shown() { history_id >/dev/null; }
# The window's pictures: the glass of the charts, the metal around them, and the seconds
# recorded since the start at the fan chart's right edge (the fan chart has no limit lines).
history_checks() {
    local name=$1 png=$2
    crop_history "$png"  # and the window's place and size
    check "$name: a window of its own size, not the skin's" test "${WW}x$WH" != 660x441
    check "$name: mostly the charts' glass" \
        test "$(colour_count "$work/history.png" 'rgb(4,10,15)')" -gt $((WW * WH / 3))
    check "$name: the case metal around them" \
        test "$(colour_count "$work/history.png" 'rgb(30,33,37)')" -gt $((WW * WH / 20))
    check "$name: no 'no history yet' message" \
        test "$(colour_count "$work/history.png" 'rgb(220,245,255)')" -lt 20
    check "$name: the fan speeds recorded so far are drawn" fans_drawn
    check "$name: the skin window stays hidden" not_mapped
}
# crop_history SHOT: the history window's part of a screenshot, as $work/history.png.
crop_history() {
    window_place "$(history_id)" &&
        "$CONVERT" "$1" -crop "${WW}x${WH}+$WX+$WY" +repage "$work/history.png"
}
# Whether $work/history.png shows a line in the fan chart's plot: there only glass, grid and
# frame are dark, so what is bright is a line.
fans_drawn() {
    "$CONVERT" "$work/history.png" \
        -crop "$((WW * 89 / 100))x$((WH * 30 / 100))+$((WW * 8 / 100))+$((WH * 63 / 100))" \
        +repage -colorspace gray -threshold 40% "$work/fans.png" &&
        [ "$(white_count "$work/fans.png")" -ge 4 ]
}
# shot_with_history SHOT: a screenshot once a few seconds are recorded (at least three, and a
# fan line drawn; on a busy machine the first readings can come later than that), or after 15 s.
shot_with_history() {
    local i
    sleep 3
    for ((i = 0; i < 12; i++)); do
        shot "$1"
        crop_history "$1" && fans_drawn && return 0
        sleep 1
    done
    shot "$1"
}

start_app
check "the tray icon docks" waitfor 200 tray_icon
sleep 0.5
check "no history window at start" eval '! history_shown'

# From the tray menu: its second item.
xdotool mousemove "$IX" "$IY" click 3
sleep 0.7
xdotool key Down Down Return
check "History in the tray menu shows the history window" waitfor 50 history_shown
shot_with_history "$work/menu.png"  # the window reads the history each second
history_checks "from the menu" "$work/menu.png"
cp "$work/menu.png" "${HISTORY_SHOT:-/dev/null}" 2>/dev/null

# A second start with --history asks the running program and ends.
timeout 20 "$demo" --history >"$work/second.log" 2>&1
check_eq "a second start with --history ends at once, with status 0" 0 "$?"
check "the history window is still shown" history_shown
check "the first program runs on" alive "$app"
kill "$app"
ended_within 50 "$app"
check "the history window goes with the program" waitfor 30 eval '! history_shown'

# With no program running, --history starts it and shows the history window.
start_app --history
check "a first start with --history shows the history window" waitfor 100 history_shown
check "the tray icon docks too" waitfor 100 tray_icon
shot_with_history "$work/first.png"
history_checks "first start" "$work/first.png"
finish
