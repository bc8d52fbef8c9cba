#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Idle cost side by side on one private Xvfb with a tint2 tray: kestrelon-demo hidden in its tray
# polling the simulated panel, a second kestrelon-demo (folders of its own) with its window shown
# and left alone, a third whose window was shown once and hidden again with its minimise button,
# gkrellm with its default monitors and conky in a window (Debian's default
# conky.conf, own window of type normal, 1 s updates), for memory a bare Qt 6 widgets program with
# a hidden window behind a tray icon (bench/bare_tray), and, for what waking up itself costs, the
# same bare program woken by a timer 8 times a second and a process that only sleeps and wakes 8
# times a second (bench/wake_floor), all measured over the same window of time; then start-up
# time to hidden-in-the-tray of kestrelon-demo and of kestrelon (no panel).
#
# usage: bench/idle.sh [--seconds N] [--settle N] [--starts N] [--out DIR] [--no-build]
#   --seconds N  measurement window (default 60)
#   --settle N   wait after the last program is up before the window opens (default 15)
#   --starts N   start-ups of each program after its first one, which is shown apart (default 5)
#   --out DIR    where logs and results go (default: a new temporary directory)
#   --no-build   use the programs already in BUILD_DIR (default BUILD_DIR: build/)
#
# CPU: utime + stime from /proc/PID/stat (all threads, clock ticks) and, finer, the run time of
# the threads in /proc/PID/task/*/schedstat. Wake-ups: voluntary + nonvoluntary context switches
# summed over /proc/PID/task/*/status. Memory: VmRSS and the PSS of /proc/PID/smaps_rollup at the
# end of the window. Start-up: from just before the program is started until tint2 takes its tray
# icon window into the tray (the ReparentNotify that xev reports on the root window; the icon is
# then checked with xwininfo).
# Everything runs in a private network namespace with only loopback up.
set -euo pipefail
source "$(dirname "$0")/session_lib.sh"

SECONDS_WINDOW=60 SETTLE=15 STARTS=5 OUT='' BUILD=1
# shellcheck disable=SC2034  # read by bench_enter
args=("$@")
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) SECONDS_WINDOW=$2; shift 2 ;;
    --settle) SETTLE=$2; shift 2 ;;
    --starts) STARTS=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    -h | --help) bench_usage; exit 0 ;;
    *) bench_usage error ;;
    esac
done

bench_enter "$BUILD" "gkrellm conky-std" kestrelon kestrelon-demo kestrelon_skin kestrelon_bare_tray \
    kestrelon_wake_floor

BIN=$BUILD_DIR/bin
for p in kestrelon kestrelon-demo kestrelon_bare_tray kestrelon_wake_floor; do
    [ -x "$BIN/$p" ] || { echo "no $BIN/$p: build it or set BUILD_DIR" >&2; exit 1; }
done
OUT=${OUT:-$(mktemp -d /tmp/kestrelon-idle.XXXXXX)}
mkdir -p "$OUT"
session_start "$OUT"
TICK=$(getconf CLK_TCK)

# ---- Start-up to hidden in the tray -------------------------------------------------------------

# Every change among the root window's children, a line each with the time it was read (µs):
# a tray icon docks when tint2 takes it from the root window into its tray (ReparentNotify).
XEV_LOG=$OUT/xev-root.txt
ROOT_WIN=$(xwininfo -root | awk '/Window id:/ {print $4}')
stdbuf -oL xev -root -event substructure 2>/dev/null \
    > >(while IFS= read -r line; do echo "${EPOCHREALTIME/./} $line"; done >"$XEV_LOG") &
STARTED_PIDS+=($!)
wait_until 10 test -e "$XEV_LOG"
sleep 0.5

# Start-up milestones after line "$1" of the xev log, as times in µs: the program's first window
# (Qt is connected to the display), its tray icon's window being made, and the icon docking.
# Prints "first icon docked" once the icon has docked, nothing before.
milestones_after() {
    tail -n +"$(($1 + 1))" "$XEV_LOG" | awk -v root="$ROOT_WIN" '
        function field(name,   i) {
            for (i = 1; i <= NF; i++) if ($i == name) { v = $(i + 1); sub(/,$/, "", v); return v }
            return ""
        }
        /CreateNotify event/ {event = "create"; t = $1; next}
        /ReparentNotify event/ {event = "reparent"; t = $1; next}
        event == "create" && / window 0x/ {
            if (!first) first = t
            made[field("window")] = t; event = ""; next }
        event == "reparent" && / parent 0x/ {
            p = field("parent"); w = field("window"); event = ""
            if (p != root) {print first, (w in made ? made[w] : t), t; exit} }'
}

# Starts "$1", waits (at most 20 s) for its icon to dock in the tray, ends it and waits for the
# icon to go. Sets START_US to the time from just before the start to the docking in µs (or to
# "timeout"), and START_PARTS to "first-window icon-window docked" in µs from the same start.
timed_start() {
    local prog=$1 t0 m='' pid mark i first icon docked
    mark=$(wc -l <"$XEV_LOG")
    t0=${EPOCHREALTIME/./}
    start_logged "$prog"
    pid=$STARTED
    for ((i = 0; i < 200; ++i)); do
        m=$(milestones_after "$mark")
        [ -n "$m" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -n "$m" ] && ! wait_until 5 icon_in_tray kestrelon; then m=; fi
    end_process "$pid"
    for ((i = 0; i < 100; ++i)); do icon_in_tray kestrelon || break; sleep 0.05; done
    if [ -n "$m" ]; then
        read -r first icon docked <<<"$m"
        START_US=$((docked - t0))
        START_PARTS="$((first - t0)) $((icon - t0)) $((docked - t0))"
    else
        START_US=timeout START_PARTS=
    fi
    echo "$prog $START_PARTS" >>"$OUT/startups.txt"
}

# Sets STARTUP_ROW to "first min median max timeouts" in ms for program "$1".
startup_row() {
    local prog=$1 first times=() i
    timed_start "$BIN/$prog"
    first=$START_US
    for ((i = 0; i < STARTS; ++i)); do
        timed_start "$BIN/$prog"
        times+=("$START_US")
    done
    echo "kestrelon:   $prog: first ${first} µs, then ${times[*]} µs" >&2
    STARTUP_ROW=$(printf '%s\n' "${times[@]}" | sort -n | awk -v first="$first" '
        $1 == "timeout" {to++; next} {v[++n] = $1 / 1000}
        END {
            f = first == "timeout" ? "timeout" : sprintf("%.1f", first / 1000)
            if (n == 0) {printf "%s - - - %d\n", f, to; exit}
            med = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
            printf "%s %.1f %.1f %.1f %d\n", f, v[1], med, v[n], to }')
}

echo "kestrelon: start-up times (first start, then $STARTS timed starts each)..." >&2
startup_row kestrelon-demo
DEMO_START=$STARTUP_ROW
startup_row kestrelon
PLAIN_START=$STARTUP_ROW

# ---- Idle, side by side -------------------------------------------------------------------------

# conky: Debian's default configuration, in a normal window of its own, 1 s updates.
if [ -r /etc/conky/conky.conf ]; then
    sed -e "s/own_window_type = '[a-z]*'/own_window_type = 'normal'/" \
        -e "s/update_interval = [0-9.]*/update_interval = 1.0/" /etc/conky/conky.conf \
        >"$OUT/conky.conf"
else
    printf '%s\n' "conky.config = { out_to_x = true, own_window = true," \
        "own_window_type = 'normal', update_interval = 1.0, use_xft = true }" \
        'conky.text = [[ $uptime $cpu% $mem/$memmax ]]' >"$OUT/conky.conf"
fi

echo "kestrelon: starting kestrelon-demo, gkrellm, conky, the bare programs and two more kestrelon-demo..." >&2
start_logged "$BIN/kestrelon-demo"
DEMO=$STARTED
wait_until 20 icon_in_tray kestrelon || { echo "kestrelon-demo never reached the tray" >&2; exit 1; }
start_logged gkrellm
GKRELLM=$STARTED
wait_until 20 xdotool search --class gkrellm >/dev/null 2>&1 || { echo "no gkrellm window" >&2; exit 1; }
start_logged conky -c "$OUT/conky.conf"
CONKY=$STARTED
wait_until 20 xdotool search --class conky >/dev/null 2>&1 || { echo "no conky window" >&2; exit 1; }
start_logged "$BIN/kestrelon_bare_tray"
BARE=$STARTED
wait_until 20 icon_in_tray kestrelon_bare_tray || { echo "the bare Qt tray program never reached the tray" >&2; exit 1; }
start_logged "$BIN/kestrelon_bare_tray" --wake 8
BARE_WAKE=$STARTED
start_logged "$BIN/kestrelon_wake_floor" 8
FLOOR=$STARTED

# start_shown_copy NAME: a kestrelon-demo with folders of its own whose window a second start
# of it has shown; sets SHOWN_PID and SHOWN_WINDOW (its main window, the skin's size: its tray
# icon is a window of the same class too).
start_shown_copy() {
    local name=$1
    copy_env "$name"
    "${COPY_ENV[@]}" "$BIN/kestrelon-demo" >>"$OUT/$name.log" 2>&1 &
    SHOWN_PID=$!
    STARTED_PIDS+=("$SHOWN_PID")
    wait_until 20 test -S "$COPY_HOME/rt/kestrelon.socket" ||
        { echo "the $name copy made no control socket" >&2; exit 1; }
    "${COPY_ENV[@]}" "$BIN/kestrelon-demo" >>"$OUT/$name.log" 2>&1 ||
        { echo "the $name copy's window did not show:" >&2; cat "$OUT/$name.log" >&2; exit 1; }
    wait_until 20 copy_main_window "$SHOWN_PID" >/dev/null ||
        { echo "the $name copy shows no window" >&2; exit 1; }
    SHOWN_WINDOW=$(copy_main_window "$SHOWN_PID")
}
copy_windows() { xdotool search --onlyvisible --pid "$1" --class kestrelon 2>/dev/null; }
copy_main_window() {
    local id
    for id in $(copy_windows "$1"); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$WIDTH" -ge 600 ] && { echo "$id"; return 0; }
    done
    return 1
}

# The copy shown once, then hidden again with the skin's minimise button, as a user puts it away
# after a look; first, so that no other window lies over it.
start_shown_copy once
ONCE=$SHOWN_PID ONCE_WINDOW=$SHOWN_WINDOW
sleep 2  # drawn in full
eval "$(xdotool getwindowgeometry --shell "$ONCE_WINDOW")"
xdotool mousemove "$((X + 50))" "$((Y + 223))" click 1  # the minimise button's middle
sleep 0.3  # the pointer rests until the release is handled
xdotool mousemove 0 0
once_hidden() { ! copy_windows "$ONCE" | grep -qx "$ONCE_WINDOW"; }
wait_until 20 once_hidden || { echo "the once copy's window did not hide" >&2; exit 1; }

# The shown copy, whose window is then left alone.
start_shown_copy shown
SHOWN=$SHOWN_PID
sleep "$SETTLE"

names=(kestrelon-demo kestrelon-shown kestrelon-once gkrellm conky bare-qt-tray bare-qt-8/s sleep-8/s)
pids=("$DEMO" "$SHOWN" "$ONCE" "$GKRELLM" "$CONKY" "$BARE" "$BARE_WAKE" "$FLOOR")
before=() after=() t_before=() t_after=()
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
CPU_BEFORE=$(cpu_line)
thread_switches "$DEMO" >"$OUT/demo-threads-before.txt"
thread_switches "$SHOWN" >"$OUT/shown-threads-before.txt"
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
thread_switches "$DEMO" >"$OUT/demo-threads-after.txt"
thread_switches "$SHOWN" >"$OUT/shown-threads-after.txt"
CPU_AFTER=$(cpu_line)
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)
BUSY=$(machine_busy_percent "$CPU_BEFORE" "$CPU_AFTER")

{
    printf 'program\tcpu_pct_ticks\tcpu_pct_sched\twakeups_per_s\tvoluntary_per_s\tthreads\trss_mib\tpss_mib\tanon_mib\tfile_mib\tshmem_mib\n'
    for i in "${!pids[@]}"; do
        awk -v name="${names[i]}" -v a="${before[$i]}" -v b="${after[$i]}" -v tick="$TICK" \
            -v dt="$(( t_after[i] - t_before[i] ))" 'BEGIN {
            split(a, x, " "); split(b, y, " "); s = dt / 1e6
            printf "%s\t%.3f\t%.3f\t%.2f\t%.2f\t%d\t%.1f\t%s\t%.1f\t%.1f\t%.1f\n", name,
                100 * (y[1] - x[1]) / tick / s, 100 * (y[2] - x[2]) / 1e9 / s,
                ((y[3] + y[4]) - (x[3] + x[4])) / s, (y[3] - x[3]) / s, y[5], y[6] / 1024,
                y[7] == "NA" ? "n/a" : sprintf("%.1f", y[7] / 1024), y[8] / 1024, y[9] / 1024,
                y[10] / 1024 }'
    done
} >"$OUT/idle.tsv"

# Which threads of the two kestrelon-demo copies wake up, per second.
for copy in demo shown; do
    join <(sort "$OUT/$copy-threads-before.txt") <(sort "$OUT/$copy-threads-after.txt") |
        awk -v ms="$(((t_after[0] - t_before[0]) / 1000))" '
            {printf "  %-8s %-16s %.2f/s\n", $1, $3, ($4 - $2) / (ms / 1000)}' >"$OUT/$copy-threads.txt"
done

{
    echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)," \
        "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "Window: ${SECONDS_WINDOW} s after ${SETTLE} s settling; machine busy ${BUSY} % of both" \
        "cores during it; load average ${LOAD_BEFORE} before, ${LOAD_AFTER} after"
    echo
    echo "Idle (CPU % of one core; wake-ups = context switches per second, all threads; MiB)"
    printf '%-16s %9s %9s %9s %9s %7s %6s %6s %6s %6s %6s\n' program "cpu%ticks" "cpu%sched" \
        "wakeups/s" "volunt/s" threads RSS PSS anon file shmem
    tail -n +2 "$OUT/idle.tsv" | awk -F'\t' '{printf "%-16s %9s %9s %9s %9s %7s %6s %6s %6s %6s %6s\n",
        $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11}'
    echo
    echo "kestrelon-demo's threads, context switches per second, hidden:"
    cat "$OUT/demo-threads.txt"
    echo "and with its window shown:"
    cat "$OUT/shown-threads.txt"
    echo
    echo "Start-up to hidden in the tray (ms; each program's first start in this session, then" \
        "$STARTS more; kestrelon-demo's first start writes the settings file)"
    printf '%-16s %8s %8s %8s %8s %9s\n' program first min median max timeouts
    for row in "kestrelon-demo $DEMO_START" "kestrelon $PLAIN_START"; do
        # shellcheck disable=SC2086
        printf '%-16s %8s %8s %8s %8s %9s\n' $row
    done
    echo
    echo "Where the start-up time goes (median ms of the timed starts, from the start):"
    printf '%-16s %14s %14s %14s\n' program "first window" "icon window" "icon docked"
    for prog in kestrelon-demo kestrelon; do
        awk -v p="$BIN/$prog" '$1 == p && NF == 4 {n++; if (n > 1) {a[n - 1] = $2; b[n - 1] = $3; c[n - 1] = $4}}
            END {m = n - 1; if (m < 1) exit
                printf "%s %s %s\n", med(a, m), med(b, m), med(c, m) }
            function med(v, m,   i, j, t) {
                for (i = 2; i <= m; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) {t = v[j]; v[j] = v[j - 1]; v[j - 1] = t}
                return sprintf("%.1f", (m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2) / 1000) }' \
            "$OUT/startups.txt" | { read -r a b c && printf '%-16s %14s %14s %14s\n' "$prog" "$a" "$b" "$c"; } || true
    done
} | tee "$OUT/idle.txt"
echo "kestrelon: logs and results in $OUT" >&2
