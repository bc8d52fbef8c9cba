#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb with a private session bus and a real notification server (dunst): a
# limit set under the CPU's temperature gives one alarm notification naming the sensor by the
# user's name, the tray icon's red mark and one run of the alert command; raising the limit
# again gives one recovery that replaces the alarm's bubble. With the server gone, an alarm is
# one log line and the tray still shows it.
# Usage: alerts.sh KESTRELON_DEMO SKIN_DIR KESTRELONCTL
set -u
demo=$1 skin=$2 ctl=$3
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot dbus-daemon dbus-monitor dunst \
    dunstctl
[ -x "$ctl" ] || { say "FAIL  $ctl is missing: build the kestrelon_e2e target"; exit 1; }
setup_work

# A session bus of our own that starts nothing by itself: the notification server is only the
# one started here.
start_bus session '<allow eavesdrop="true"/>'

# A short delay, the CPU named by the user, and a command (run without a shell: the shell is the
# command's own) that keeps what it is given.
mkdir -p "$XDG_CONFIG_HOME/kestrelon"
cat >"$XDG_CONFIG_HOME/kestrelon/kestrelon.conf" <<CONF
[sensors]
cpu=Processor
[alerts]
delay=1
hysteresis=3
command="/bin/sh -c \"env | grep ^KESTRELON_ALERT_ | sort >> $work/alert.env; echo -- >> $work/alert.env\""
CONF

start_x 1024x768
start_tray
dunst >"$work/dunst.log" 2>&1 &
dunst_pid=$!
started "$dunst_pid"
check "the notification server answers" waitfor 100 eval 'dunstctl count displayed >/dev/null 2>&1'
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
    >"$work/notify.log" 2>&1 &
started $!
sleep 0.5
start_app
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }

notifies() { grep -c 'member=Notify' "$work/notify.log"; }
# call N: the Nth Notify call with its arguments, as dbus-monitor prints it.
call() { awk -v n="$1" '/member=Notify/ {i++} i == n' "$work/notify.log"; }
said() { grep -c "$1" "$app_log"; }
red_in_tray() {
    "$IMPORT" -window root -crop "24x24+$((IX - 12))+$((IY - 12))" +repage "$work/tray.png"
    colour_count "$work/tray.png" '#e01010'
}
reading() { "$ctl" watch --json --count 1 2>/dev/null; }

check "the CPU reads above 25 °C" waitfor 100 eval 'reading | grep -Eq "\"temperatures\": \[(2[6-9]|[3-9][0-9])"'
check_eq "no notification before any alarm" 0 "$(notifies)"
check_eq "no red mark on the tray icon before" 0 "$(red_in_tray)"

check "the limit is set under the CPU's temperature" eval '"$ctl" set st1=25 >/dev/null'
check "an alarm notification reaches the server" waitfor 100 eval '[ "$(notifies)" -ge 1 ]'
sleep 3
check_eq "exactly one notification" 1 "$(notifies)"
alarm=$(call 1)
check "it names the sensor by the user's name" grep -q 'string "Processor too hot' <<<"$alarm"
check "it gives the limit" grep -q 'above its limit of 25 °C' <<<"$alarm"
check "app name and icon are kestrelon" \
    eval '[ "$(grep -c "^   string \"kestrelon\"" <<<"$alarm")" = 2 ]'
check "it replaces nothing" grep -q '^   uint32 0$' <<<"$alarm"
check "urgency critical" eval 'grep -A1 "\"urgency\"" <<<"$alarm" | grep -q "byte 2$"'
check "the desktop entry" \
    eval 'grep -A1 "\"desktop-entry\"" <<<"$alarm" | grep -q "\"io.github.kestrelon.kestrelon\"$"'
check_eq "the server shows it" 1 "$(dunstctl count displayed)"
check "the tray icon has its red mark" waitfor 30 eval '[ "$(red_in_tray)" -gt 10 ]'
check "the command was given the alarm" \
    waitfor 30 grep -q '^KESTRELON_ALERT_STATE=alarm$' "$work/alert.env"
for line in KESTRELON_ALERT_SENSOR=cpu KESTRELON_ALERT_NAME=Processor \
    KESTRELON_ALERT_KIND=temperature KESTRELON_ALERT_LIMIT=25 KESTRELON_ALERT_UNIT=celsius; do
    check "the command's environment has $line" grep -qx "$line" "$work/alert.env"
done

check "the limit is raised again" eval '"$ctl" set st1=90 >/dev/null'
check "a recovery notification reaches the server" waitfor 100 eval '[ "$(notifies)" -ge 2 ]'
sleep 3
check_eq "exactly one more" 2 "$(notifies)"
recovery=$(call 2)
check "it names the sensor" grep -q 'string "Processor back to normal' <<<"$recovery"
check "urgency normal" eval 'grep -A1 "\"urgency\"" <<<"$recovery" | grep -q "byte 1$"'
check "it replaces the alarm's bubble" grep -Eq '^   uint32 [1-9][0-9]*$' <<<"$recovery"
check_eq "the server shows one bubble, not two" 1 "$(dunstctl count displayed)"
check "the red mark is gone" waitfor 30 eval '[ "$(red_in_tray)" = 0 ]'
check_eq "the command ran once for each change" 2 "$(grep -c '^--$' "$work/alert.env")"
check "the command was given the recovery" grep -q '^KESTRELON_ALERT_STATE=normal$' "$work/alert.env"

# Without a notification server: one log line, the tray still shows the alarm, and it runs on.
kill "$dunst_pid"
waitfor 50 eval '! dunstctl count displayed >/dev/null 2>&1'
check "an alarm again" eval '"$ctl" set st1=25 >/dev/null'
check "the tray icon shows it" waitfor 100 eval '[ "$(red_in_tray)" -gt 10 ]'
check "one log line says no notification went out" \
    waitfor 50 eval '[ "$(said "no desktop notification sent")" = 1 ]'
"$ctl" set st1=90 >/dev/null
check "and it recovers" waitfor 100 eval '[ "$(red_in_tray)" = 0 ]'
"$ctl" set st1=25 >/dev/null
sleep 3
check_eq "the line is said once" 1 "$(said "no desktop notification sent")"
check "it runs on" alive "$app"
finish
