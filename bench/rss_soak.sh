#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Memory soak: kestrelon-demo runs on a private Xvfb with a tint2 tray for a while (10 minutes
# unless told), polling its simulated panel, while xdotool uses it once a minute like a person:
# double-clicks the tray icon to show the window, hovers over controls, the grab corner and the
# reset spot, opens and closes all four wings and hides the window with its minimise button.
# VmRSS (and PSS) is sampled every 10 s.
#
# usage: bench/rss_soak.sh [--seconds N] [--interval N] [--warmup N] [--threshold-kib N]
#                          [--out DIR] [--no-build]
#   --seconds N        length of the run (default 600)
#   --interval N       seconds between samples (default 10)
#   --warmup N         seconds not judged: caches fill, the first uses happen (default 90; the
#                      first use is at 20 s, the second at 80 s)
#   --threshold-kib N  largest growth allowed after the warm-up (default 2048)
#   --out DIR          where samples and logs go (default: a new temporary directory)
#   --no-build         use the programs already in BUILD_DIR (default BUILD_DIR: build/)
#
# Judged: the last sample less the first sample after the warm-up, both taken with the window
# hidden. The run fails (exit 1) when that growth is above the threshold, when kestrelon-demo
# ends, or when a use of the window fails. The default threshold is a little under two window
# backing stores (660 x 441 x 4 bytes = 1.1 MiB each): a picture or buffer kept once more than it
# should be shows, while the allocator's ordinary give-and-take does not; a leak of one small
# allocation per poll would not reach it in 10 minutes, so the slope (least squares over the
# judged samples) is printed too.
# Everything runs in a private network namespace with only loopback up.
set -euo pipefail
source "$(dirname "$0")/session_lib.sh"

DURATION=600 INTERVAL=10 WARMUP=90 THRESHOLD_KIB=2048 OUT='' BUILD=1
FIRST_USE=20 USE_EVERY=60
# shellcheck disable=SC2034  # read by bench_enter
args=("$@")
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) DURATION=$2; shift 2 ;;
    --interval) INTERVAL=$2; shift 2 ;;
    --warmup) WARMUP=$2; shift 2 ;;
    --threshold-kib) THRESHOLD_KIB=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    -h | --help) bench_usage; exit 0 ;;
    *) bench_usage error ;;
    esac
done

bench_enter "$BUILD" "" kestrelon-demo kestrelon_skin

DEMO_BIN=$BUILD_DIR/bin/kestrelon-demo
[ -x "$DEMO_BIN" ] || { echo "no $DEMO_BIN: build it or set BUILD_DIR" >&2; exit 1; }
OUT=${OUT:-$(mktemp -d /tmp/kestrelon-soak.XXXXXX)}
mkdir -p "$OUT"
session_start "$OUT"

start_logged "$DEMO_BIN"
DEMO=$STARTED
wait_until 20 icon_in_tray kestrelon || { echo "kestrelon-demo never reached the tray" >&2; exit 1; }

# The shown main window (660 x 441): "ID X Y", or nothing while it is hidden.
main_window() {
    local id info
    for id in $(xdotool search --onlyvisible --class kestrelon 2>/dev/null); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        grep -q 'Width: 660' <<<"$info" || continue
        awk -v id="$id" '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
            END {print id, x, y}' <<<"$info"
        return 0
    done
    return 1
}
window_hidden() { ! main_window >/dev/null; }

# One use of the window, as a person would; false when the window did not show or hide.
USES=0 FAILED_USES=0
use_window() {
    local ix iy wx wy p
    read -r _ ix iy < <(tray_icon kestrelon) || return 1
    xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
    wait_until 5 main_window >/dev/null || return 1
    read -r _ wx wy < <(main_window)
    # Hover: side panel icons, a wing button, the grab corner (move cursor), the reset spot
    # (its hint shows after a rest), the web key.
    for p in "460 186" "455 228" "124 121" "330 120" "640 20" "600 420" "92 224" "400 220"; do
        xdotool mousemove $((wx + ${p% *})) $((wy + ${p#* }))
        sleep 0.3
    done
    # Open the four wings, then close them: each slide takes about a third of a second.
    for p in "124 121" "125 323" "328 120" "326 322" "124 121" "125 323" "328 120" "326 322"; do
        xdotool mousemove $((wx + ${p% *})) $((wy + ${p#* })) click 1
        sleep 0.8
    done
    # Hide it with the minimise button; the pointer leaves for the desktop.
    xdotool mousemove $((wx + 50)) $((wy + 223)) click 1
    sleep 0.3
    xdotool mousemove 5 5
    wait_until 5 window_hidden
}

SAMPLES=$OUT/rss.tsv
printf 'seconds\trss_kib\tpss_kib\tthreads\n' >"$SAMPLES"
sample() {
    local c
    c=$(proc_counters "$DEMO") || { echo "kestrelon-demo ended at $1 s" >&2; exit 1; }
    # shellcheck disable=SC2086
    set -- "$1" $c
    printf '%s\t%s\t%s\t%s\n' "$1" "$7" "$8" "$6" >>"$SAMPLES"
}

echo "kestrelon: soak for ${DURATION} s, a sample every ${INTERVAL} s, a use every ${USE_EVERY} s" >&2
t0=${EPOCHREALTIME/./}
next_sample=0 next_use=$FIRST_USE
while :; do
    elapsed=$(((${EPOCHREALTIME/./} - t0) / 1000000))
    if ((elapsed >= next_use && next_use + 15 < DURATION)); then
        USES=$((USES + 1))
        if ! use_window; then
            FAILED_USES=$((FAILED_USES + 1))
            echo "kestrelon: use $USES at ${elapsed} s failed" >&2
            xdotool mousemove 5 5
        fi
        next_use=$((next_use + USE_EVERY))
        continue
    fi
    if ((elapsed >= next_sample)); then
        window_hidden || sleep 1
        sample "$elapsed"
        next_sample=$(((elapsed / INTERVAL + 1) * INTERVAL))
        ((elapsed < DURATION)) || break
    fi
    sleep 0.5
done

summary=$(awk -F'\t' -v warm="$WARMUP" -v limit="$THRESHOLD_KIB" 'NR > 1 {
        n++; t = $1; r = $2
        if (n == 1) first = r
        if (r > max) {max = r; tmax = t}
        last = r; tlast = t
        if (t >= warm) {
            if (!m) base = r
            m++; sx += t; sy += r; sxx += t * t; sxy += t * r
        }
    }
    END {
        slope = (m > 1 && m * sxx - sx * sx) ? (m * sxy - sx * sy) / (m * sxx - sx * sx) * 60 : 0
        growth = m ? last - base : 0
        printf "samples %d (%d after the warm-up of %d s)\n", n, m, warm
        printf "RSS first %.1f MiB, last %.1f MiB, max %.1f MiB at %d s\n", first / 1024, last / 1024, max / 1024, tmax
        printf "after the warm-up: from %.1f MiB to %.1f MiB, growth %d KiB (limit %d KiB), slope %+.1f KiB/min\n",
            base / 1024, last / 1024, growth, limit, slope
        print (m < 2 ? "UNJUDGED" : growth > limit ? "FAIL" : "PASS")
    }' "$SAMPLES")
{
    echo "kestrelon-demo RSS soak: ${DURATION} s, $USES uses of the window ($FAILED_USES failed)"
    sed '$d' <<<"$summary"
    echo "verdict: $(tail -n 1 <<<"$summary")"
} | tee "$OUT/soak.txt"
echo "kestrelon: samples and logs in $OUT" >&2
[ "$(tail -n 1 <<<"$summary")" = PASS ] && [ "$FAILED_USES" = 0 ]
