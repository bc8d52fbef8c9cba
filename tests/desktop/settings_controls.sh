#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window under Xvfb: the controls that change settings, through real clicks and keys: alarm
# editing, a limit step in °C and in °F, a manual fan step and the Ctrl+Alt reset. Each shows
# in the settings file and in the frames sent to the (simulated) panel.
# Usage: settings_controls.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools Xvfb tint2 xdotool xwininfo xdpyinfo xprop xsetroot
setup_work
start_x 1024x768
start_tray
start_app --frame-log "$frames"  # a first start: the factory values, saved
waitfor 200 tray_icon || { say "FAIL  the tray icon never docked"; exit 1; }
waitfor 50 eval '[ -s "$settings" ]' || { say "FAIL  no settings file after a first start"; exit 1; }
xdotool mousemove "$IX" "$IY" click --repeat 2 --delay 80 1
waitfor 50 mapped || { say "FAIL  the window never showed"; exit 1; }
wid=$(window_id)
window_place "$wid"

# sent_after N REG: the parameter bytes of the frames to REG sent after line N of the log.
sent_after() { tail -n +"$(($1 + 1))" "$frames" | awk -v r="$2" '$1 == ">" && $3 == r {print $4, $5, $6, $7, $8, $9}'; }
# settled KEY VALUE: the setting reaches the file.
settled() { waitfor 30 setting_is "$1" "$2"; }

# Alarm: the upper-left wing, set (hour editing), up: 12:00 becomes 13:00.
click 124 121
sleep 0.8
n=$(lines "$frames")
click 140 150
click 200 170
check "alarm: the hour steps up in the file" settled alarm 13:00
check "alarm: the panel gets the new time (hour and minute in BCD: 13, 00)" \
    waitfor 20 eval '[ -n "$(sent_after "$n" 2A | grep "^.. .. .. 13 00 ")" ]'
click 140 150 && click 140 150  # minute, then done

# Limits: the lower-right wing, the CPU limit icon, up: 65 °C (149 °F) becomes 66 °C (151 °F).
click 326 322
sleep 0.8
n=$(lines "$frames")
click 255 237
click 315 260
check "°C step: st1 in the file" settled st1 66
check_eq "°C step: fst1 follows" 151 "$(setting fst1)"
check "°C step: the panel gets 66 °C (0x42) and 151 °F (0x97)" waitfor 20 eval \
    '[ -n "$(sent_after "$n" 20 | grep "^42 ")" ] && [ -n "$(sent_after "$n" 21 | grep "^97 ")" ]'
click 280 310  # °F; the CPU limit stays selected
n=$(lines "$frames")
click 315 260
check "°F step: fst1 in the file" settled fst1 152
check_eq "°F step: st1 follows" 67 "$(setting st1)"
check_eq "°F step: the unit is saved" 1 "$(setting t_unit)"

# Fans: the lower-left wing, manual mode, the CPU fan icon, down: 2400 becomes 2300.
click 125 323
sleep 0.8
click 200 318
n=$(lines "$frames")
click 140 236
click 207 280
check "manual fan step: msf1 in the file" settled msf1 2300
check "manual fan step: the panel gets 2300 (FC 08)" \
    waitfor 20 eval '[ -n "$(sent_after "$n" 2B | grep "^FC 08")" ]'

# The reset spot answers only to Ctrl+Alt held on the window.
click 92 225
sleep 0.5
check_eq "an unarmed reset spot changes nothing" 2300 "$(setting msf1)"
xdotool windowfocus "$wid" 2>/dev/null
xdotool mousemove $((WX + 92)) $((WY + 225)) keydown ctrl keydown alt
sleep 0.2
n=$(lines "$frames")
xdotool click 1 keyup alt keyup ctrl
check "Ctrl+Alt reset: st1 back to 65" settled st1 65
check_eq "Ctrl+Alt reset: °C again" 0 "$(setting t_unit)"
check_eq "Ctrl+Alt reset: automatic fans" 1 "$(setting auto)"
check_eq "Ctrl+Alt reset: msf1 back to the fan's limit" 2400 "$(setting msf1)"
check "Ctrl+Alt reset: limits, set points, speeds and status go to the panel in order" \
    waitfor 30 eval '[ "$(tail -n +$((n + 1)) "$frames" | awk '\''$1 == ">" && $3 != "1C" && $3 != "14" && $3 != "15" && $3 != "18" && $3 != "19" && $3 != "1D" && $3 != "1E" {print $3}'\'' | head -7 | tr "\n" " ")" = "20 21 24 25 2B 2C 29 " ]'
finish
