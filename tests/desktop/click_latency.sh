#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb with a private sound server whose null sink takes seconds to drain a
# sound: clicks on the backlight buttons, 0.3 s apart, all take effect, each one's status frame
# and settings change within 0.5 s of its click. Prints every click's two delays.
# Usage: click_latency.sh KESTRELON_DEMO SKIN_DIR
# CLICKS (default 20) and SETTLE_S (how long to watch after the last click, default 3) can be
# set; bench/click_stall.sh uses them, with KESTRELON_STALL_LOG, to measure the window's stalls.
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot pulseaudio pactl
clicks=${CLICKS:-20} settle_s=${SETTLE_S:-3}
gap_us=300000 bound_ms=500
setup_work

start_pulse
start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
waitfor 50 mapped || { say "FAIL  the window never showed"; exit 1; }
window_place "$(window_id)"
waitfor 30 test -s "$settings"
click 124 121  # the upper-left wing: the backlight buttons
sleep 1.5      # the wing's slide and its click sound are over
between_polls

# Red (1) and blue (2) in turn, starting with the one that is not lit.
button_y=([1]=209 [2]=196)
start_colour=$(setting color)
first=1
[ "$start_colour" = 1 ] && first=2
colour_of() { echo $(((first + $1) % 2 == 0 ? 1 : 2)); }  # click 1 gets $first
# The watch below reads without starting processes, so that it keeps up on a busy machine.
exec {frame_fd}<"$frames"
while read -r -u "$frame_fd" _; do :; done  # from the end of the log on
# setting_now NAME: the setting's value in $value, read by the shell itself.
setting_now() {
    local line
    value=''
    while IFS= read -r line; do
        line=${line%$'\r'}
        [[ $line == "$1="* ]] && { value=${line#*=}; return; }
    done <"$settings"
}

[ -n "${KESTRELON_STALL_LOG:-}" ] && echo "# clicks begin" >>"$KESTRELON_STALL_LOG"
(
    next=${EPOCHREALTIME/./}
    for ((i = 1; i <= clicks; i++)); do
        while [ "${EPOCHREALTIME/./}" -lt "$next" ]; do sleep 0.005; done
        # A click's delays count from when xdotool has sent it (starting xdotool takes a while
        # on a busy machine, and that is no part of the program's answer); an effect seen
        # before that counts as 0, one seen before xdotool started would belong to another.
        sent_from=${EPOCHREALTIME/./}
        click 184 "${button_y[$(colour_of "$i")]}"
        echo "$i $sent_from ${EPOCHREALTIME/./}" >>"$work/clicks"
        next=$((next + gap_us))
    done
) &
clicker=$!
started "$clicker"

# Watches the frame log and the settings file, noting when each click's effect is first seen:
# a change of colour in the status writes, a change of colour in the file.
frame_at=() file_at=()
frame_colour=$(printf '%02X' "$start_colour") file_colour=$start_colour
last_click_us='' pending=''
while :; do
    now=${EPOCHREALTIME/./}
    while IFS= read -r -u "$frame_fd" line; do
        read -r -a f <<<"$pending$line"
        pending=''
        # "> 00 29 p1 p2 p3 p4 p5 ...": a status write; its fifth byte is the colour.
        if [ "${f[0]:-}" = ">" ] && [ "${f[2]:-}" = 29 ] && [ "${f[7]:-}" != "$frame_colour" ]; then
            frame_colour=${f[7]}
            frame_at+=("$now")
        fi
    done
    pending+=$line  # a line still being written
    setting_now color
    if [ -n "$value" ] && [ "$value" != "$file_colour" ]; then
        file_colour=$value
        file_at+=("$now")
    fi
    [ "${#frame_at[@]}" -ge "$clicks" ] && [ "${#file_at[@]}" -ge "$clicks" ] && break
    if [ -z "$last_click_us" ] && ! alive "$clicker"; then last_click_us=$now; fi
    [ -n "$last_click_us" ] && [ $((now - last_click_us)) -gt $((settle_s * 1000000)) ] && break
    sleep 0.01
done
[ -n "${KESTRELON_STALL_LOG:-}" ] && echo "# clicks end" >>"$KESTRELON_STALL_LOG"

worst_frame=0 worst_file=0 late=0
# delay EFFECT_US FROM_US SENT_US: milliseconds from the click to its effect; "never" when it
# was not seen, "early" when seen before the click was made.
delay() {
    if [ -z "$1" ]; then echo never
    elif [ "$1" -lt "$2" ]; then echo early
    elif [ "$1" -lt "$3" ]; then echo 0
    else echo $((($1 - $3) / 1000)); fi
}
while read -r i from sent; do
    df=$(delay "${frame_at[i - 1]:-}" "$from" "$sent")
    ds=$(delay "${file_at[i - 1]:-}" "$from" "$sent")
    say "click $i: frame after $df ms, settings file after $ds ms"
    for d in "$df" "$ds"; do
        if ! [[ $d =~ ^[0-9]+$ ]] || [ "$d" -gt "$bound_ms" ]; then late=$((late + 1)); break; fi
    done
    [[ $df =~ ^[0-9]+$ ]] && [ "$df" -gt "$worst_frame" ] && worst_frame=$df
    [[ $ds =~ ^[0-9]+$ ]] && [ "$ds" -gt "$worst_file" ] && worst_file=$ds
done <"$work/clicks"
say "worst: frame ${worst_frame} ms, settings file ${worst_file} ms"
check_eq "all $clicks clicks were made" "$clicks" "$(lines "$work/clicks")"
check_eq "every click's frame and file change within $bound_ms ms (clicks late or lost)" 0 "$late"
check_eq "the last click's colour is saved" "$(colour_of "$clicks")" "$(setting color)"
check "the program runs on" alive "$app"
finish
