#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Click stall: kestrelon-demo on a private Xvfb with a tint2 tray and a private sound server (a
# null sink, which drains a sound in about 2 s), clicked on its backlight buttons 0.3 s apart
# (tests/desktop/click_latency.sh). Reports each click's delay to its frame and to the settings
# file, and the window thread's longest stall while the clicks go on: the longest gap between
# beats of a 5 ms heartbeat timer the program runs when KESTRELON_STALL_LOG is set.
#
# usage: bench/click_stall.sh [--clicks N] [--settle S] [--out DIR] [--no-build]
#   --clicks N   clicks to make (default 20)
#   --settle S   seconds to wait for late effects after the last click (default 60)
#   --out DIR    where the logs go (default: a new temporary directory)
#   --no-build   use the programs already in BUILD_DIR (default BUILD_DIR: build/)
# Everything runs in a private network namespace with only loopback up.
set -euo pipefail
source "$(dirname "$0")/session_lib.sh"

CLICKS=20 SETTLE=60 OUT='' BUILD=1
# shellcheck disable=SC2034  # read by bench_enter
args=("$@")
while [ $# -gt 0 ]; do
    case $1 in
    --clicks) CLICKS=$2; shift 2 ;;
    --settle) SETTLE=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    -h | --help) bench_usage; exit 0 ;;
    *) bench_usage error ;;
    esac
done

bench_enter "$BUILD" "pulseaudio pulseaudio-utils libasound2-plugins imagemagick" kestrelon-demo \
    kestrelon_skin

OUT=${OUT:-$(mktemp -d /tmp/kestrelon-click-stall.XXXXXX)}
mkdir -p "$OUT"
stall_log=$OUT/stall.log
: >"$stall_log"
status=0
CLICKS=$CLICKS SETTLE_S=$SETTLE KESTRELON_STALL_LOG=$stall_log \
    "$KESTRELON_ROOT/tests/desktop/click_latency.sh" "$BUILD_DIR/bin/kestrelon-demo" \
    "$BUILD_DIR/share/kestrelon" | tee "$OUT/clicks.txt" || status=$?

# The longest gap between the markers the click script wrote around its clicks.
awk '/^# clicks begin/ {on = 1; next} /^# clicks end/ {on = 0} on && $2 > max {max = $2; n++}
     on && !/^#/ {count++}
     END {printf "window thread: longest stall %d ms during the clicks (%d beats late by more than 10 ms)\n", max, count}' \
    "$stall_log" | tee -a "$OUT/clicks.txt"
echo "logs in $OUT"
exit "$status"
