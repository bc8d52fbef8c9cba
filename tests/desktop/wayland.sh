#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Real window on a headless Weston (Wayland): without a tray the window shows at start, its
# outline is transparent (the desktop around the skin, no box), a second start with --history
# shows the history window, and SIGTERM ends it.
# Usage: wayland.sh KESTRELON_DEMO SKIN_DIR
set -u
demo=$1 skin=$2
source "$(dirname "$0")/desktop_lib.sh"
need_tools weston weston-screenshooter weston-debug "$CONVERT"
if ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1; then
    skip_test "Qt's Wayland platform is missing (qt6-wayland)"
fi
setup_work
unset DISPLAY
printf '%s\n' '[core]' 'idle-time=0' '[shell]' 'background-color=0xff2060a0' \
    'panel-position=none' >"$work/weston.ini"
(cd "$work" && exec weston --config="$work/weston.ini" --backend=headless-backend.so \
    --socket=wayland-e2e --width=1280 --height=800 --use-pixman --debug) >"$work/weston.log" 2>&1 &
started $!
if ! waitfor 100 test -S "$XDG_RUNTIME_DIR/wayland-e2e"; then
    cat "$work/weston.log"
    skip_test "weston does not start here"
fi
export WAYLAND_DISPLAY=wayland-e2e QT_QPA_PLATFORM=wayland

# The skin window's place on the output, from the compositor's scene graph: "X Y".
view_place() {
    timeout 5 weston-debug scene-graph 2>/dev/null |
        awk "/top-level window 'Kestrelon'/ {found = 1; next}
             found && /position:/ {gsub(/[(),]/, \"\"); print \$2, \$3; exit}"
}
has_view() { [ -n "$(view_place)" ]; }

start_app --frame-log "$frames"
check "no tray: the window shows at start" waitfor 200 has_view
read -r VX VY <<<"$(view_place)"
sleep 0.5
(cd "$work" && rm -f wayland-screenshot*.png && weston-screenshooter >/dev/null 2>&1)
picture=$(find "$work" -maxdepth 1 -name 'wayland-screenshot*.png' | head -1)
check "the compositor takes a screenshot" test -n "$picture"
if [ -n "$picture" ]; then
    cp "$picture" "$work/shown.png"
    check_eq "no key-coloured (magenta) pixel on the screen" 0 \
        "$(colour_count "$work/shown.png" "$KEY_COLOUR")"
    skin_checks "wayland" "$work/shown.png" "$VX" "$VY" 1 "$ROOT_COLOUR"
fi
# The history window, asked for by a second start, is a top-level window of its own there too.
has_history_view() {
    timeout 5 weston-debug scene-graph 2>/dev/null | grep -q "top-level window 'Kestrelon .* History'"
}
timeout 20 "$demo" --history >"$work/second.log" 2>&1
check_eq "a second start with --history ends at once, with status 0" 0 "$?"
check "the history window shows beside the skin window" waitfor 100 has_history_view
if [ -n "${HISTORY_SHOT:-}" ]; then
    sleep 0.5
    (cd "$work" && rm -f wayland-screenshot*.png && weston-screenshooter >/dev/null 2>&1)
    cp "$work"/wayland-screenshot*.png "$HISTORY_SHOT" 2>/dev/null
fi
check "the program runs" alive "$app"
kill -TERM "$app"
if ended_within 50 "$app"; then
    say "INFO  SIGTERM ends the program with status $status"
else
    say "FAIL  the program did not end within 5 s of SIGTERM"
    failures=$((failures + 1))
fi
finish
