#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: the NET lamp lights when the internet probe gets any HTTP answer (a
# loopback server answering 404) and stays dark when the connection is refused.
# Usage: net_lamp.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh"
need_tools Xvfb xdotool xwininfo xdpyinfo xprop xsetroot python3 "$CONVERT" "$IMPORT"
setup_work
start_x 1024x768  # no tray: the window shows at start

# lamp_is on|off: the lamp on the window is that state's picture, pixel for pixel.
lamp_is() {
    grab "$work/lamp.ppm" 494 289 9 9
    [ "$(differs_from_picture "$work/lamp.ppm" 0 0 "$skin/link$1.bmp")" = 0 ]
}
check "the lamp's two pictures differ" eval "! cmp -s '$skin/linkon.bmp' '$skin/linkoff.bmp'"

python3 "$here/probe_server.py" "$work/requests.log" >"$work/port" 2>"$work/server.log" &
started $!
waitfor 50 test -s "$work/port" || { say "FAIL  the probe server did not start"; exit 1; }
port=$(head -1 "$work/port")

start_app --probe-address "http://127.0.0.1:$port/probe"
waitfor 200 mapped || { say "FAIL  the window never showed"; exit 1; }
window_place "$(window_id)"
check "404 from the server: the lamp lights" waitfor 80 lamp_is on
check "the probe asked with GET and User-Agent Kestrelon" \
    grep -qx 'GET /probe Kestrelon' "$work/requests.log"
kill -TERM "$app"
ended_within 50 "$app" || { say "FAIL  the program did not end on SIGTERM"; exit 1; }

# A port nobody listens on: the connection is refused at once.
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
start_app --probe-address "http://127.0.0.1:$closed/probe"
waitfor 200 mapped || { say "FAIL  the window never showed again"; exit 1; }
window_place "$(window_id)"
sleep 3
check "connection refused: the lamp stays dark" lamp_is off
finish
