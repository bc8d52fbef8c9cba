#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb and a tint2 tray: the tray menu's "Start at login" writes and removes
# the user's autostart entry, and shows the entry's state as found each time the menu opens.
# Usage: start_at_login.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot desktop-file-validate
setup_work
start_x 1024x768
start_tray
entry=$XDG_CONFIG_HOME/autostart/kestrelon.desktop

# The open menu: the program's mapped popup (neither the skin window nor the tray icon).
menu_window() {
    local wid
    for wid in $(xwininfo -root -tree 2>/dev/null |
        awk '/\("kestrelon-demo" "kestrelon"\)/ && !/ 660x441\+/ && !/ 24x24\+/ {print $1}'); do
        xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$wid"; return 0; }
    done
    return 1
}
menu_gone() { ! menu_window >/dev/null; }

# Opens the tray menu and clicks its middle item of three (Show, Start at login, Quit).
click_start_at_login() {
    local wid
    xdotool mousemove "$IX" "$IY" click 3
    waitfor 30 menu_window >/dev/null || return 1
    wid=$(menu_window)
    window_place "$wid"
    xdotool mousemove $((WX + WW / 2)) $((WY + WH / 2)) click 1
    waitfor 30 menu_gone
}

start_app
check "the tray icon docks" waitfor 200 tray_icon
check "ticking Start at login" click_start_at_login
check "writes the autostart entry" waitfor 20 test -f "$entry"
check_eq "the entry starts this program" "Exec=$(realpath "$demo")" "$(grep '^Exec=' "$entry")"
check_eq "desktop-file-validate accepts the entry" "" "$(desktop-file-validate "$entry" 2>&1)"

check "unticking it" click_start_at_login
check "removes the entry" waitfor 20 test ! -e "$entry"

# Entries changed behind the program's back: the menu shows what it finds when it opens, so a
# click always turns the state it shows into the other one.
mkdir -p "$(dirname "$entry")"
printf '[Desktop Entry]\nType=Application\nName=Kestrelon\nExec=kestrelon\n' >"$entry"
check "an entry written elsewhere shows ticked, so a click" click_start_at_login
check "removes it" waitfor 20 test ! -e "$entry"
printf '[Desktop Entry]\nType=Application\nName=Kestrelon\nExec=kestrelon\nHidden=true\n' >"$entry"
check "a hidden entry shows unticked, so a click" click_start_at_login
check "writes a working one over it" waitfor 20 eval "! grep -q Hidden '$entry'"
check "the program runs on" alive "$app"
finish
