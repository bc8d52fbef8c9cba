#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: kestrelon-demo records every poll. kestrelonctl history shows the last
# seconds through it, one row a second; a pulled plug leaves a gap, not zeros; a SIGTERM writes
# the minute so far to the day file, which kestrelonctl then reads on its own.
# Usage: history.sh KESTRELON_DEMO SKIN_DIR KESTRELONCTL
set -u
demo=$1 skin=$2 ctl=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot
[ -x "$ctl" ] || { say "FAIL  $ctl is missing: build the kestrelon_e2e target"; exit 1; }
setup_work
start_x 1024x768
start_tray
start_app
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }

# rows SPAN: the rows kestrelonctl history prints for the last SPAN, header left out.
rows() { "$ctl" history --since "$1" --csv 2>/dev/null | tail -n +2; }
count() { rows "$1" | grep -c .; }
check "each second is recorded" waitfor 100 eval '[ "$(count 1m)" -ge 4 ]'
check "the header names every series" \
    eval '"$ctl" history --csv | head -1 | grep -q "^time,cpu_temp_min_c,.*,case_limit_c,fan_mode$"'
sleep 10
times=$(rows 1m | cut -d, -f1)
check "one row a second: at least 8 in the last 10 s" eval '[ "$(count 10s)" -ge 8 ]'
check "rows in time order, each second once" eval '[ "$times" = "$(sort -u <<<"$times")" ]'
check "a reading present shows as a number" eval 'rows 1m | tail -1 | grep -Eq "Z,[0-9]+(\.[0-9]+)?,[0-9]"'
check "the table shows the last seconds" eval '"$ctl" history --since 10s | tail -1 | grep -q "^[0-9-]* [0-9:]* "'

check "unplug is accepted" eval '"$ctl" unplug >/dev/null'
check "the program says the panel is gone" \
    waitfor 100 eval 'grep -q "stopped answering" "$app_log"'
sleep 4
before=$(count 1h)
sleep 3
check_eq "no rows while no panel answers" "$before" "$(count 1h)"
zeros=$(rows 1h | grep "Z,0,0,0,0,0,0,")
check "no zeros stand in for the lost readings" [ -z "$zeros" ]
[ -z "$zeros" ] || say "$zeros"
check "plug is accepted" eval '"$ctl" plug >/dev/null'
check "rows come again once the panel is back" waitfor 100 eval '[ "$(count 1h)" -gt "$before" ]'

kill -TERM "$app"
check "SIGTERM: the program ends" ended_within 50 "$app"
day=$XDG_STATE_HOME/kestrelon/history/$(date -u +%F).csv
check "the day file is there" [ -s "$day" ]
check "it starts with the header" eval 'head -1 "$day" | grep -q "^time,cpu_temp_min_c,"'
check "the minute so far was written at the end" eval '[ "$(tail -n +2 "$day" | grep -c .)" -ge 1 ]'
check "with no program running, the files answer" eval '[ "$(count 1h)" -ge 1 ]'
"$ctl" history --since 5y >/dev/null 2>&1
check_eq "a bad span is refused with status 2" 2 "$?"
finish
