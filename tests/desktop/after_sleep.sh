#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb, with a private system bus on which a stand-in for logind announces the
# end of a sleep: the demo sends the panel its clock and every setting at once, as after a
# re-plug; the start of a sleep sends nothing.
# Usage: after_sleep.sh KESTRELON_DEMO SKIN_DIR SLEEP_SIGNAL
set -u
demo=$1 skin=$2 signal=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot dbus-daemon
[ -x "$signal" ] || { say "FAIL  $signal is missing: build the kestrelon_e2e target"; exit 1; }
setup_work

# A system bus of our own: anyone may own a name and send a signal on it.
start_bus system

start_x 1024x768
start_tray
start_app --frame-log "$frames"
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }
check "the start-up push is done" waitfor 100 eval 'grep -q "^> 00 28 " "$frames"'
sleep 1.5

# written_since LINE: the registers written after line LINE of the frame log, once each.
written_since() { tail -n +"$(($1 + 1))" "$frames" | awk '$1 == ">" {print $3}' | sort -u | tr '\n' ' '; }
pushes() { grep -c "^> 00 28 " "$frames"; }  # clock records: one per full push and minute change

# Not across a minute change, which sends its own clock record.
while [ "$((10#$(date +%S)))" -ge 55 ] || [ "$((10#$(date +%S)))" -lt 2 ]; do sleep 0.5; done
n=$(lines "$frames")
before=$(pushes)
printf 'sleep\n' | "$signal" >/dev/null
sleep 2
check_eq "going to sleep sends no clock record" "$before" "$(pushes)"
check "going to sleep logs nothing" eval '! grep -q "awake again" "$app_log"'

n=$(lines "$frames")
printf 'wake\n' | "$signal" >/dev/null
check "waking up is said in the log" waitfor 50 eval 'grep -q "awake again: the panel.s clock and settings sent" "$app_log"'
written=$(written_since "$n")
for register in 20 21 24 25 28 29 2B 2C; do
    check "after the sleep register $register is written" grep -q " $register " <<<" $written"
done
check "it runs on" alive "$app"
finish
