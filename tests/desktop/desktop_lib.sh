# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the real-window tests: a private Xvfb desktop with a tint2 tray, the program under
# test, bounded waits, window lookup, screenshots and picture comparisons. Sourced, not run.
# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154  # variables go both ways between this file and the scripts

SKIP=77                   # the tests' SKIP_RETURN_CODE
CONVERT=/usr/bin/convert  # ImageMagick itself, whatever else comes first on PATH
IMPORT=/usr/bin/import
ROOT_COLOUR='#2060a0'     # the desktop behind the window
KEY_COLOUR='#ff00ff'      # the skin's outline key

failures=0
_pids=()

say() { printf '%s\n' "$*"; }

# check NAME COMMAND...: runs the command, prints PASS or FAIL and counts failures.
check() {
    local name=$1
    shift
    if "$@"; then
        say "PASS  $name"
    else
        say "FAIL  $name"
        failures=$((failures + 1))
    fi
}
# check_eq NAME EXPECTED ACTUAL
check_eq() {
    if [ "$2" = "$3" ]; then
        say "PASS  $1"
    else
        say "FAIL  $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}
finish() {
    if [ "$failures" -eq 0 ]; then
        say "all checks passed"
        exit 0
    fi
    say "$failures check(s) failed"
    exit 1
}

# skip_test REASON: skips the test (exit 77) because something it needs is missing here. When
# CI is set the test fails instead: a CI run must not pass without its real-window tests.
skip_test() {
    if [ -n "${CI:-}" ]; then
        say "FAIL  $1 (CI is set, so this test fails rather than skips)"
        exit 1
    fi
    say "SKIP: $1"
    exit "$SKIP"
}

# Skips the test (exit 77) when a tool is missing; fails under CI.
need_tools() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null 2>&1 || skip_test "$t is missing (scripts/test installs it)"
    done
}

# waitfor TENTHS COMMAND...: polls every 0.1 s, at most TENTHS times, until the command succeeds.
waitfor() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# Private runtime, configuration and home folders; everything started ends on exit. The
# program and its generated skin ($demo, $skin) must be built.
setup_work() {
    if [ ! -x "$demo" ] || [ ! -e "$skin/mainback.bmp" ]; then
        say "FAIL  $demo or its skin in $skin is missing: build the kestrelon_e2e target"
        exit 1
    fi
    work=$(mktemp -d "${TMPDIR:-/tmp}/kestrelon-e2e.XXXXXX")
    mkdir -m 700 "$work/rt"
    mkdir -p "$work/cfg" "$work/home"
    export XDG_RUNTIME_DIR=$work/rt XDG_CONFIG_HOME=$work/cfg HOME=$work/home
    export XDG_STATE_HOME=$work/state  # the history the program records
    unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
    export QT_QPA_PLATFORM=xcb
    settings=$XDG_CONFIG_HOME/kestrelon/Settings.inf
    frames=$work/frames.log
    app_log=$work/app.log
    trap cleanup EXIT
}

# Ends what this test started, newest first, by process id; shows the program's output after a
# failure. KEEP_WORK=1 keeps the folder.
cleanup() {
    local rc=$? i
    if [ "$rc" -ne 0 ] && [ "$rc" -ne "$SKIP" ] && [ -s "$app_log" ]; then
        say "--- the program's output:"
        cat "$app_log"
    fi
    for ((i = ${#_pids[@]} - 1; i >= 0; i--)); do kill "${_pids[i]}" 2>/dev/null; done
    for ((i = ${#_pids[@]} - 1; i >= 0; i--)); do wait "${_pids[i]}" 2>/dev/null; done
    if [ -n "${KEEP_WORK:-}" ]; then say "kept $work"; else rm -rf "$work"; fi
}
# start_bus session|system [EXTRA_POLICY_LINE]: a D-Bus bus of our own, at $work/TYPE_bus, that
# starts nothing by itself and lets anyone own a name and send to any; its address is exported
# as DBUS_SESSION_BUS_ADDRESS or DBUS_SYSTEM_BUS_ADDRESS.
start_bus() {
    local type=$1 extra=${2:-}
    cat >"$work/$type.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$type</type>
  <listen>unix:path=$work/${type}_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
    $extra
  </policy>
</busconfig>
CONF
    dbus-daemon --config-file="$work/$type.conf" --nofork --nopidfile >>"$work/bus.log" 2>&1 &
    started $!
    if [ "$type" = system ]; then
        export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system_bus
    else
        export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/session_bus
    fi
    waitfor 50 test -S "$work/${type}_bus" || { say "FAIL  the private $type bus never came up"; exit 1; }
}
started() { _pids+=("$1"); }
alive() { kill -0 "$1" 2>/dev/null; }

# start_x WIDTHxHEIGHT: an Xvfb of its own on a display number it picks itself (-displayfd,
# so tests running side by side never share one), the root in ROOT_COLOUR, and the root
# property tint2 waits for.
start_x() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    started $!
    waitfor 100 test -s "$work/display" || { say "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    DISPLAY=:$(head -1 "$work/display")
    export DISPLAY
    waitfor 100 xdpyinfo >/dev/null 2>&1 || { say "Xvfb does not answer"; exit 1; }
    xsetroot -solid "$ROOT_COLOUR"
    xprop -root -f _NET_NUMBER_OF_DESKTOPS 32c -set _NET_NUMBER_OF_DESKTOPS 1
    xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 0
}

# A tint2 panel holding only a tray, bottom right.
start_tray() {
    printf '%s\n' 'panel_items = S' 'panel_position = bottom right horizontal' \
        'panel_size = 200 32' 'systray_padding = 4 4 4' 'systray_icon_size = 24' >"$work/tint2rc"
    tint2 -c "$work/tint2rc" >"$work/tint2.log" 2>&1 &
    started $!
    waitfor 100 grep -q 'systray started' "$work/tint2.log" ||
        { say "tint2's tray did not start"; cat "$work/tint2.log"; exit 1; }
}

# start_app ARGS...: the program under test in the background, output in $app_log; id in $app.
# A private sound server with a null sink; the test skips (fails under CI) where none starts.
start_pulse() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
        --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
    started $!
    waitfor 50 pactl info || skip_test "the sound server does not start here"
}

start_app() {
    "$demo" "$@" >>"$app_log" 2>&1 &
    app=$!
    started "$app"
}

# ended_within TENTHS PID: waits for a process started here to end; its exit status in
# $status. Once reaped it is off the list, so its id, free for reuse, is never signalled.
ended_within() {
    local i
    waitfor "$1" eval "! kill -0 $2 2>/dev/null" || return 1
    wait "$2"
    status=$?
    for i in "${!_pids[@]}"; do [ "${_pids[i]}" = "$2" ] && unset '_pids[i]'; done
    _pids=("${_pids[@]}")
}

# The program's top-level window of the given size (default 660x441), mapped or not.
window_id() {
    xwininfo -root -tree 2>/dev/null |
        awk -v size="${1:-660x441}" '/"Kestrelon":/ && index($0, " " size "+") {print $1; exit}'
}
# mapped [SIZE]: the program's window of that size is on the screen.
mapped() {
    local wid
    wid=$(window_id "${1:-660x441}")
    [ -n "$wid" ] && xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable'
}
not_mapped() { ! mapped "$@"; }
# A mapped "Kestrelon" window other than the skin window (a question box); id printed.
dialog_id() {
    local wid
    for wid in $(xwininfo -root -tree 2>/dev/null |
        awk '/"Kestrelon":/ && !index($0, " 660x441+") {print $1}'); do
        xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$wid"; return 0; }
    done
    return 1
}
has_dialog() { dialog_id >/dev/null; }
# window_place WID: sets WX WY (absolute upper left), WW WH.
window_place() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    WX=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    WY=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    WW=$(awk '/Width:/ {print $2}' <<<"$info")
    WH=$(awk '/Height:/ {print $2}' <<<"$info")
}

# Sets IX IY to the centre of the tray icon docked in tint2; fails while none is docked.
tray_icon() {
    local panel icon info
    panel=$(xdotool search --class tint2 2>/dev/null | head -1)
    [ -n "$panel" ] || return 1
    icon=$(xwininfo -tree -id "$panel" |
        awk '/^ +0x[0-9a-f]+ .*[0-9]+x[0-9]+\+/ && !/tint2/ {print $1; exit}')
    [ -n "$icon" ] || return 1
    info=$(xwininfo -id "$icon") || return 1
    IX=$(($(awk '/Absolute upper-left X/ {print $4}' <<<"$info") + $(awk '/Width:/ {print $2}' <<<"$info") / 2))
    IY=$(($(awk '/Absolute upper-left Y/ {print $4}' <<<"$info") + $(awk '/Height:/ {print $2}' <<<"$info") / 2))
}

# click X Y: a left click at window pixel (X,Y) of the window at WX WY (physical pixels).
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; }

# ---- Pictures ---------------------------------------------------------------------------------
# Screenshot of the whole X screen.
shot() { "$IMPORT" -window root "$1"; }
# grab FILE X Y W H: the screen's rectangle at window pixel (X,Y).
grab() { "$IMPORT" -window root -crop "$4x$5+$((WX + $2))+$((WY + $3))" +repage "$1"; }
# wait_changed BEFORE X Y W H: waits (at most 5 s) until the screen's rectangle at window pixel
# (X,Y) differs from BEFORE (a grab in PPM) and then holds still; fails otherwise.
wait_changed() {
    local before=$1 i
    grab "$work/last.ppm" "$2" "$3" "$4" "$5"
    for ((i = 0; i < 50; i++)); do
        sleep 0.1
        grab "$work/now.ppm" "$2" "$3" "$4" "$5"
        if ! cmp -s "$work/now.ppm" "$before" && cmp -s "$work/now.ppm" "$work/last.ppm"; then
            return 0
        fi
        mv "$work/now.ppm" "$work/last.ppm"
    done
    return 1
}
# crop IN OUT W H X Y
crop() { "$CONVERT" "$1" -crop "$3x$4+$5+$6" +repage "$2"; }
# colour_mask IN COLOUR OUT: white where IN has exactly COLOUR, else black.
colour_mask() {
    "$CONVERT" "$1" -alpha off \( +clone -fill "$2" -colorize 100 \) -compose difference \
        -composite -colorspace gray -threshold 0 -negate "$3"
}
# diff_mask A B OUT: white where the two same-sized pictures differ, else black.
diff_mask() {
    "$CONVERT" "$1" -alpha off "$2" -alpha off -compose difference -composite -colorspace gray \
        -threshold 0 "$3"
}
# white_count MASK [AND_MASK]: white pixels of MASK (where AND_MASK is white too).
white_count() {
    if [ $# -gt 1 ]; then
        "$CONVERT" "$1" "$2" -compose multiply -composite -precision 15 \
            -format '%[fx:round(mean*w*h)]' info:
    else
        "$CONVERT" "$1" -colorspace gray -precision 15 -format '%[fx:round(mean*w*h)]' info:
    fi
}
# colour_count IN COLOUR: pixels of exactly that colour.
colour_count() {
    colour_mask "$1" "$2" "$work/count.png" && white_count "$work/count.png"
}
# differs_from_picture SHOT X Y PICTURE [SCALE]: how many pixels of the screenshot at (X,Y)
# differ from the skin picture (enlarged SCALE times, nearest neighbour).
differs_from_picture() {
    local scale=${5:-1} size
    "$CONVERT" "$4" -sample "$((scale * 100))%" "$work/pic.png"
    size=$("$CONVERT" "$work/pic.png" -format '%wx%h' info:)
    "$CONVERT" "$1" -crop "$size+$2+$3" +repage "$work/piccrop.png"
    diff_mask "$work/piccrop.png" "$work/pic.png" "$work/picdiff.png"
    white_count "$work/picdiff.png"
}

# skin_checks NAME SHOT X Y SCALE BACKGROUND: the window at (X,Y) in SHOT against the skin's
# picture at SCALE: outside the outline every pixel is the desktop's BACKGROUND, inside none
# is (no seams, no holes), and the parts of the skin that nothing redraws are the picture's
# pixels exactly (the outer side strips; wings, readouts and lamps change while it runs).
skin_checks() {
    local name=$1 shot=$2 x=$3 y=$4 s=$5 bg=$6 w h
    w=$((660 * s)) h=$((441 * s))
    "$CONVERT" "$skin/mainback.bmp" -sample "$((s * 100))%" "$work/expected.png"
    colour_mask "$work/expected.png" "$KEY_COLOUR" "$work/outside.png"
    "$CONVERT" "$work/outside.png" -negate "$work/inside.png"
    "$CONVERT" "$work/expected.png" -fill "$bg" -opaque "$KEY_COLOUR" "$work/expected_bg.png"
    crop "$shot" "$work/win.png" "$w" "$h" "$x" "$y"
    diff_mask "$work/win.png" "$work/expected_bg.png" "$work/windiff.png"
    colour_mask "$work/win.png" "$bg" "$work/winbg.png"
    check_eq "$name: outside the outline the desktop shows (pixels that differ)" 0 \
        "$(white_count "$work/windiff.png" "$work/outside.png")"
    check_eq "$name: no desktop-coloured pixel inside the outline (seams, holes)" 0 \
        "$(white_count "$work/winbg.png" "$work/inside.png")"
    crop "$work/windiff.png" "$work/strips_l.png" $((20 * s)) "$h" 0 0
    crop "$work/windiff.png" "$work/strips_r.png" $((90 * s)) "$h" $((570 * s)) 0
    check_eq "$name: the skin's fixed parts are its picture, pixel for pixel" "0 0" \
        "$(white_count "$work/strips_l.png") $(white_count "$work/strips_r.png")"
}

# ---- Frame log and settings --------------------------------------------------------------------
lines() { if [ -e "$1" ]; then wc -l <"$1"; else echo 0; fi; }
# Status register writes (0x29) after line N of the frame log: their colour bytes, one a line.
status_colours_after() {
    tail -n +"$(($1 + 1))" "$frames" 2>/dev/null | awk '$1 == ">" && $3 == "29" {print $8}'
}
# log_grew N: the frame log has more than N lines (polls go on).
log_grew() { [ "$(lines "$frames")" -gt "$1" ]; }
# Waits (at most 5 s) for a pause between polls: the frame log unchanged for 0.25 s. A poll
# under way finishes its frames whatever happens meanwhile; the next starts a second after.
between_polls() {
    local i n
    for ((i = 0; i < 20; i++)); do
        n=$(lines "$frames")
        sleep 0.25
        [ "$(lines "$frames")" = "$n" ] && return 0
    done
    return 1
}
# status_written_after N: a status register write follows line N.
status_written_after() { [ -n "$(status_colours_after "$1")" ]; }
# setting NAME: its value in the settings file; setting_is NAME VALUE.
setting() { sed -n "s/^$1=//p" "$settings" 2>/dev/null | tr -d '\r'; }
setting_is() { [ "$(setting "$1")" = "$2" ]; }
