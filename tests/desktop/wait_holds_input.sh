#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: a click sent while the desktop wait runs reaches the window only after
# the wait has ended. Usage: wait_holds_input.sh PROBE
set -u
probe=$1
for tool in Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "missing $tool (scripts/test installs it)"; exit 1; }
done
work=$(mktemp -d)
display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number"; exit 1; }
export DISPLAY=$display XDG_RUNTIME_DIR=$work
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

"$probe" 3000 >"$work/out" 2>"$work/err" &
app=$!
for _ in $(seq 200); do grep -q waiting "$work/out" && break; sleep 0.02; done
xdotool mousemove 100 100 click 1
wait "$app"
events=$(tr '\n' ' ' <"$work/out")
echo "events: $events"
[ "$events" = "waiting wait ended press " ] || { cat "$work/err"; exit 1; }
