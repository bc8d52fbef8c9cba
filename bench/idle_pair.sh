#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a feature costs at idle, side by side on one private Xvfb with a tint2 tray: copies of
# kestrelon-demo hidden in their trays, each with its own runtime, configuration and state
# folders, measured over the same window of time:
#   plain     this build, the metrics endpoint off (the default)
#   metrics   this build, the endpoint on loopback, scraped every --scrape seconds
#   base      (with --base DIR) the kestrelon-demo of another build, e.g. one from before a change
#
# usage: bench/idle_pair.sh [--seconds N] [--settle N] [--scrape S] [--base BUILD_DIR]
#                           [--out DIR] [--no-build]
#   --seconds N  measurement window (default 120)
#   --settle N   wait after the last program is up before the window opens (default 15)
#   --scrape S   seconds between scrapes of the endpoint (default 15, as Prometheus is often set)
#   --base DIR   a build directory whose bin/kestrelon-demo runs beside, as the "base" row
#   --out DIR    where logs and results go (default: a new temporary directory)
#   --no-build   use the programs already in BUILD_DIR (default BUILD_DIR: build/)
#
# Counters as bench/idle.sh takes them (session_lib.sh's proc_counters): CPU from utime + stime
# and from the threads' schedstat, wake-ups as context switches of all threads, VmRSS and PSS at
# the end of the window. Everything runs in a private network namespace with only loopback up.
set -euo pipefail
source "$(dirname "$0")/session_lib.sh"

SECONDS_WINDOW=120 SETTLE=15 SCRAPE=15 BASE='' OUT='' BUILD=1
# shellcheck disable=SC2034  # read by bench_enter
args=("$@")
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) SECONDS_WINDOW=$2; shift 2 ;;
    --settle) SETTLE=$2; shift 2 ;;
    --scrape) SCRAPE=$2; shift 2 ;;
    --base) BASE=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    -h | --help) bench_usage; exit 0 ;;
    *) bench_usage error ;;
    esac
done

bench_enter "$BUILD" "" kestrelon-demo kestrelon_skin

BIN=$BUILD_DIR/bin
[ -x "$BIN/kestrelon-demo" ] || { echo "no $BIN/kestrelon-demo: build it or set BUILD_DIR" >&2; exit 1; }
[ -z "$BASE" ] || [ -x "$BASE/bin/kestrelon-demo" ] ||
    { echo "no $BASE/bin/kestrelon-demo" >&2; exit 1; }
OUT=${OUT:-$(mktemp -d /tmp/kestrelon-idle-pair.XXXXXX)}
mkdir -p "$OUT"
session_start "$OUT"
TICK=$(getconf CLK_TCK)
PORT=19817

# start_copy NAME PROGRAM [OPTIONS-FILE-TEXT]: a kestrelon-demo with folders of its own.
start_copy() {
    local name=$1 program=$2 options=${3:-}
    copy_env "$name"
    [ -z "$options" ] || printf '%s\n' "$options" >"$COPY_HOME/config/kestrelon/kestrelon.conf"
    "${COPY_ENV[@]}" "$program" >"$OUT/$name.log" 2>&1 &
    STARTED=$!
    STARTED_PIDS+=("$STARTED")
}

names=(plain metrics) pids=()
start_copy plain "$BIN/kestrelon-demo"
pids+=("$STARTED")
start_copy metrics "$BIN/kestrelon-demo" "$(printf '[metrics]\nlisten=127.0.0.1:%s' "$PORT")"
pids+=("$STARTED")
if [ -n "$BASE" ]; then
    start_copy base "$BASE/bin/kestrelon-demo"
    names+=(base)
    pids+=("$STARTED")
fi
wait_until 20 grep -q 'metrics served at' "$OUT/metrics.log" ||
    { echo "the metrics copy serves nothing:" >&2; cat "$OUT/metrics.log" >&2; exit 1; }

# The scraper: a request every SCRAPE seconds, over bash's own socket (no process per scrape).
scrape() {
    exec 3<>"/dev/tcp/127.0.0.1/$PORT"
    printf 'GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' >&3
    cat <&3 >"$OUT/last-scrape.txt"
    exec 3<&-
}
(while sleep "$SCRAPE"; do scrape || echo "scrape failed" >>"$OUT/scrapes.log"; done) &
STARTED_PIDS+=($!)
sleep "$SETTLE"
for i in "${!pids[@]}"; do
    kill -0 "${pids[i]}" 2>/dev/null || { echo "${names[i]} ended:" >&2; cat "$OUT/${names[i]}.log" >&2; exit 1; }
done

before=() after=() t_before=() t_after=()
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
for i in "${!pids[@]}"; do
    t_before[$i]=${EPOCHREALTIME/./}
    before[$i]=$(proc_counters "${pids[i]}")
done
echo "kestrelon: measuring for ${SECONDS_WINDOW} s..." >&2
sleep "$SECONDS_WINDOW"
for i in "${!pids[@]}"; do
    t_after[$i]=${EPOCHREALTIME/./}
    after[$i]=$(proc_counters "${pids[i]}") || { echo "${names[i]} ended during the window" >&2; exit 1; }
done
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)
grep -q '^kestrelon_up 1' "$OUT/last-scrape.txt" || { echo "the last scrape got no metrics" >&2; exit 1; }

{
    printf 'program\tcpu_pct_ticks\tcpu_pct_sched\twakeups_per_s\tthreads\trss_mib\tpss_mib\n'
    for i in "${!pids[@]}"; do
        awk -v name="${names[i]}" -v a="${before[$i]}" -v b="${after[$i]}" -v tick="$TICK" \
            -v dt="$((t_after[i] - t_before[i]))" 'BEGIN {
            split(a, x, " "); split(b, y, " "); s = dt / 1e6
            printf "%s\t%.3f\t%.3f\t%.2f\t%d\t%.1f\t%s\n", name,
                100 * (y[1] - x[1]) / tick / s, 100 * (y[2] - x[2]) / 1e9 / s,
                ((y[3] + y[4]) - (x[3] + x[4])) / s, y[5], y[6] / 1024,
                y[7] == "NA" ? "n/a" : sprintf("%.1f", y[7] / 1024) }'
    done
} >"$OUT/idle_pair.tsv"

echo "load average: $LOAD_BEFORE at the start, $LOAD_AFTER at the end; scrape every ${SCRAPE} s"
column -t -s $'\t' "$OUT/idle_pair.tsv"
echo "logs in $OUT"
