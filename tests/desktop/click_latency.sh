#!/usr/bin/env bash
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

pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
    --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
started $!
if ! waitfor 50 pactl info; then
    say "SKIP: the sound server does not start here"
    exit "$SKIP"
fi
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
n0=$(lines "$frames")
us() { echo "${EPOCHREALTIME/./}"; }
# Clicks whose status write has come: the changes of colour in the status writes after n0.
frame_effects() {
    status_colours_after "$n0" |
        awk -v p="$(printf '%02X' "$start_colour")" '$1 != p {n++; p = $1} END {print n + 0}'
}

[ -n "${KESTRELON_STALL_LOG:-}" ] && echo "# clicks begin" >>"$KESTRELON_STALL_LOG"
(
    next=$(us)
    for ((i = 1; i <= clicks; i++)); do
        while [ "$(us)" -lt "$next" ]; do sleep 0.005; done
        echo "$i $(us)" >>"$work/clicks"
        click 184 "${button_y[$(colour_of "$i")]}"
        next=$((next + gap_us))
    done
) &
clicker=$!
started "$clicker"

# Watches the frame log and the settings file, noting when each click's effect is first seen.
frame_at=() file_at=()
last_colour=$start_colour
last_click_us=''
while :; do
    now=$(us)
    f=$(frame_effects)
    while [ "${#frame_at[@]}" -lt "$f" ]; do frame_at+=("$now"); done
    v=$(setting color)
    if [ -n "$v" ] && [ "$v" != "$last_colour" ]; then
        file_at+=("$now")
        last_colour=$v
    fi
    [ "${#frame_at[@]}" -ge "$clicks" ] && [ "${#file_at[@]}" -ge "$clicks" ] && break
    if [ -z "$last_click_us" ] && ! alive "$clicker"; then last_click_us=$now; fi
    [ -n "$last_click_us" ] && [ $((now - last_click_us)) -gt $((settle_s * 1000000)) ] && break
    sleep 0.02
done
[ -n "${KESTRELON_STALL_LOG:-}" ] && echo "# clicks end" >>"$KESTRELON_STALL_LOG"

worst_frame=0 worst_file=0 late=0
while read -r i t; do
    fa=${frame_at[i - 1]:-} sa=${file_at[i - 1]:-}
    df=-1 ds=-1
    [ -n "$fa" ] && df=$(((fa - t) / 1000))
    [ -n "$sa" ] && ds=$(((sa - t) / 1000))
    say "click $i: frame after ${df} ms, settings file after ${ds} ms (-1: never)"
    [ "$df" -gt "$worst_frame" ] && worst_frame=$df
    [ "$ds" -gt "$worst_file" ] && worst_file=$ds
    if [ "$df" -lt 0 ] || [ "$ds" -lt 0 ] || [ "$df" -gt "$bound_ms" ] || [ "$ds" -gt "$bound_ms" ]; then
        late=$((late + 1))
    fi
done <"$work/clicks"
say "worst: frame ${worst_frame} ms, settings file ${worst_file} ms"
check_eq "all $clicks clicks were made" "$clicks" "$(lines "$work/clicks")"
check_eq "every click's frame and file change within $bound_ms ms (clicks late or lost)" 0 "$late"
check_eq "the last click's colour is saved" "$(colour_of "$clicks")" "$(setting color)"
check "the program runs on" alive "$app"
finish
