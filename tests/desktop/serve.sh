#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kestrelonctl serve on the simulated panel, with no display at all: the start-up push and the
# once-a-second poll, the control socket's requests, an alert as a log line and through the
# alert command, the metrics endpoint, one owner of the panel (neither serve nor the desktop
# program starts beside the other), and a SIGTERM that ends it cleanly with the minute so far in
# the history's day file.
# Usage: serve.sh KESTRELON_DEMO SKIN_DIR KESTRELONCTL
set -u
demo=$1 skin=$2 ctl=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools python3
[ -x "$ctl" ] || { say "FAIL  $ctl is missing: build the kestrelon_e2e target"; exit 1; }
setup_work
unset DISPLAY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$XDG_CONFIG_HOME/kestrelon"
cat >"$XDG_CONFIG_HOME/kestrelon/kestrelon.conf" <<INI
[sensors]
cpu=Die
[alerts]
delay=2
command="/bin/sh -c \"echo \$KESTRELON_ALERT_NAME \$KESTRELON_ALERT_STATE >> $work/alerts.txt\""
[metrics]
listen=127.0.0.1:$port
INI

"$ctl" --simulated serve --frame-log "$frames" >"$app_log" 2>&1 &
app=$!
started "$app"
check "serve says where it listens" waitfor 100 grep -q 'serving the simulated panel' "$app_log"
check "the start-up push sends the clock" waitfor 50 grep -q '^> 00 28 ' "$frames"
check "the panel is polled" waitfor 50 eval '[ "$(grep -c "^> 00 14 " "$frames")" -ge 2 ]'
check "status goes through serve" eval '"$ctl" status | grep -q "^panel simulated"'
check "the settings file is written on the first start" test -s "$settings"

# An alarm: the CPU above a limit of 25 °C for the delay, then back under it.
check "set goes through serve" eval '"$ctl" set st1=25 | grep -q "in the running kestrelon"'
check "the alarm is one log line" waitfor 60 grep -q '^kestrelon: alarm: Die reads' "$app_log"
check "the alert command runs with the sensor's name" waitfor 30 grep -qx 'Die alarm' "$work/alerts.txt"
scrape() { python3 -c "import urllib.request,sys; sys.stdout.write(urllib.request.urlopen('http://127.0.0.1:$port/metrics', timeout=5).read().decode())"; }
check "the metrics show the alarm" eval 'scrape | grep -qx "kestrelon_temperature_alarm{sensor=\"cpu\",name=\"Die\"} 1"'
"$ctl" set st1=90 >/dev/null
check "the recovery is one log line" waitfor 60 grep -q '^kestrelon: normal: Die reads' "$app_log"
check_eq "one alarm and one recovery ran the command" "Die alarm
Die normal" "$(cat "$work/alerts.txt")"
check "history goes through serve" eval '[ "$("$ctl" history --since 1m --csv | grep -c Z,)" -ge 3 ]'

# One program owns the panel.
out=$(timeout 20 "$ctl" --simulated serve 2>&1)
check_eq "a second serve ends with status 1" 1 "$?"
check "and says why in one line" eval '[ "$(wc -l <<<"$out")" = 1 ] && grep -q "already running" <<<"$out"'
out=$(QT_QPA_PLATFORM=offscreen timeout 20 "$demo" 2>&1)
check_eq "the desktop program beside it ends with status 1" 1 "$?"
check "and says serve owns the panel" eval 'grep -q "serve owns the panel" <<<"$out"'
check "serve runs on" alive "$app"

# A service manager's SIGTERM: status 0, no frame after it, the minute so far kept.
between_polls
kill -TERM "$app"
n=$(lines "$frames")
check "SIGTERM: serve ends within 5 s" ended_within 50 "$app"
check_eq "SIGTERM: its exit status" 0 "${status:-none}"
check_eq "SIGTERM: no frame is sent after it" "$n" "$(lines "$frames")"
day=$XDG_STATE_HOME/kestrelon/history/$(date -u +%F).csv
check "SIGTERM: the minute so far is in the day file" eval '[ "$(grep -c Z, "$day")" -ge 1 ]'
check "the history reads without a running program" eval '"$ctl" history --since 1h --csv | grep -q Z,'
finish
