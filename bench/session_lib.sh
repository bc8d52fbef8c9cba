# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by bench/idle.sh and bench/rss_soak.sh: a private X display with a tint2 tray, the
# processes a measurement starts (and ends, by their PIDs), and a process's counters from /proc.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

# shellcheck disable=SC2034  # used by the scripts that source this file
SESSION_PACKAGES=(xvfb x11-utils x11-xserver-utils xdotool tint2 procps)
STARTED_PIDS=()

# Runs the calling script again inside a private network namespace with only loopback up, and
# exits with its status; returns at once when already inside one. Usage: in_bench_net "$0" "$@".
in_bench_net() {
    [ "${KESTRELON_BENCH_NETNS:-}" = 1 ] && return 0
    in_private_net "KESTRELON_BENCH_NETNS=1 exec bash $(printf '%q ' "$@")"
    exit $?
}

# The calling script's usage, its header comment: on stdout, or with "$1" = error on stderr and
# exit status 2.
bench_usage() {
    if [ "${1:-}" = error ]; then
        sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
        exit 2
    fi
    sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'
}

# Outside the private network namespace: installs the session's packages and the ones named in
# "$2" (blank-separated), builds the targets "${@:3}" unless "$1" is 0, and runs the calling
# script again inside a namespace with its arguments "${args[@]}" and --no-build. Inside one it
# returns at once.
bench_enter() {
    [ "${KESTRELON_BENCH_NETNS:-}" = 1 ] && return 0
    local build=$1 extra=$2
    shift 2
    # shellcheck disable=SC2086  # "$extra" is a list of package names
    ensure_packages "${SESSION_PACKAGES[@]}" $extra
    if [ "$build" = 1 ]; then
        ensure_packages "${BUILD_PACKAGES[@]}"
        bench_build "$@"
    fi
    # shellcheck disable=SC2154  # the calling script's own arguments
    in_bench_net "$0" "${args[@]}" --no-build
}

# Configures BUILD_DIR (RelWithDebInfo) and builds the targets named in "$@".
bench_build() {
    cmake -S "$KESTRELON_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$BUILD_DIR" --target "$@" >/dev/null
}

now_ms() {  # wall clock in milliseconds, without starting a process
    local t=${EPOCHREALTIME/./}
    echo $((t / 1000))
}

# Polls the command "$2..." every 50 ms until it succeeds or "$1" seconds have passed.
wait_until() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit * 20; ++i)); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# Starts "$@" in the background with output to $LOG_DIR/<name>.log and records its PID in
# STARTED (and STARTED_PIDS, so that session_stop ends it).
start_logged() {
    local name
    name=$(basename "$1")
    "$@" >>"$LOG_DIR/$name.log" 2>&1 &
    STARTED=$!
    STARTED_PIDS+=("$STARTED")
}

# copy_env NAME: runtime, configuration and state folders of its own under $LOG_DIR/NAME for a
# copy of the program, so that it runs beside others; sets COPY_HOME to the folder and COPY_ENV
# to the env command that starts a program in them.
copy_env() {
    COPY_HOME=$LOG_DIR/$1
    mkdir -p "$COPY_HOME/config/kestrelon" "$COPY_HOME/state"
    [ -d "$COPY_HOME/rt" ] || mkdir -m 700 "$COPY_HOME/rt"
    COPY_ENV=(env "XDG_RUNTIME_DIR=$COPY_HOME/rt" "XDG_CONFIG_HOME=$COPY_HOME/config"
              "XDG_STATE_HOME=$COPY_HOME/state")
}

# Ends the process with PID "$1": TERM, up to 5 s for it to go, then KILL.
end_process() {
    local pid=$1 i
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; ++i)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
    wait "$pid" 2>/dev/null || true
}

# Ends everything this session started, newest first.
session_stop() {
    local i
    for ((i = ${#STARTED_PIDS[@]} - 1; i >= 0; --i)); do end_process "${STARTED_PIDS[i]}"; done
    STARTED_PIDS=()
}

# A private X display (Xvfb picks a free number) with the root properties tint2 waits for, and a
# tint2 tray of 200 x 32 at the bottom right. Sets DISPLAY, HOME, XDG_RUNTIME_DIR (all inside
# "$1", which becomes LOG_DIR too) and TINT2_WIN. Programs find no session bus.
session_start() {
    LOG_DIR=$1
    export HOME=$LOG_DIR/home XDG_CONFIG_HOME=$LOG_DIR/home/.config XDG_RUNTIME_DIR=$LOG_DIR/rt
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER WAYLAND_DISPLAY QT_QPA_PLATFORM
    trap session_stop EXIT
    trap 'exit 130' INT TERM

    local displayfile=$LOG_DIR/display
    : >"$displayfile"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$displayfile" \
        >"$LOG_DIR/xvfb.log" 2>&1 &
    STARTED_PIDS+=($!)
    wait_until 10 test -s "$displayfile" || { echo "Xvfb did not start" >&2; return 1; }
    DISPLAY=:$(head -n 1 "$displayfile")
    export DISPLAY
    wait_until 10 xdpyinfo >/dev/null 2>&1 || { echo "Xvfb does not answer" >&2; return 1; }
    xsetroot -solid '#2060a0'
    xprop -root -f _NET_NUMBER_OF_DESKTOPS 32c -set _NET_NUMBER_OF_DESKTOPS 1
    xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 0

    printf '%s\n' 'panel_items = S' 'panel_position = bottom right horizontal' \
        'panel_size = 200 32' 'systray_padding = 4 4 4' 'systray_icon_size = 24' >"$LOG_DIR/tint2rc"
    start_logged tint2 -c "$LOG_DIR/tint2rc"
    wait_until 10 grep -q 'systray started' "$LOG_DIR/tint2.log" ||
        { echo "tint2 did not start its tray" >&2; return 1; }
    TINT2_WIN=$(xdotool search --class tint2 | head -n 1)
    [ -n "$TINT2_WIN" ] || { echo "no tint2 window" >&2; return 1; }
}

# True while a tray icon of the program whose window name is "$1" sits in tint2's tray.
icon_in_tray() {
    xwininfo -tree -id "$TINT2_WIN" 2>/dev/null | grep -q "\"$1\": ("
}

# The tray icon's window id and the absolute position of its centre: "ID X Y".
tray_icon() {
    local id info
    id=$(xwininfo -tree -id "$TINT2_WIN" | awk -v n="\"$1\":" '$2 == n {print $1; exit}')
    [ -n "$id" ] || return 1
    info=$(xwininfo -id "$id")
    awk -v id="$id" '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2}
        END {print id, x + int(w / 2), y + int(h / 2)}' <<<"$info"
}

# One line of counters for the process "$1", every thread included:
#   cpu_ticks sched_ns ctx_voluntary ctx_nonvoluntary threads rss_kb pss_kb anon_kb file_kb shmem_kb
# cpu_ticks is utime + stime of /proc/PID/stat (clock ticks; threads that ended count too);
# sched_ns the run time of the live threads from /proc/PID/task/*/schedstat (nanoseconds);
# the context switches are summed over /proc/PID/task/*/status.
proc_counters() {
    local pid=$1 stat
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || return 1
    stat=${stat##*) }  # the fields after the command name; utime and stime are the 12th and 13th
    local -a f
    read -r -a f <<<"$stat"
    local ticks=$((f[11] + f[12]))
    local sched vol invol threads rss pss anon file shmem
    sched=$(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}')
    read -r vol invol threads < <(cat /proc/"$pid"/task/*/status 2>/dev/null | awk '
        /^voluntary_ctxt_switches/ {v += $2; n++} /^nonvoluntary_ctxt_switches/ {i += $2}
        END {printf "%d %d %d\n", v, i, n}')
    read -r rss anon file shmem < <(awk '/^VmRSS/ {r = $2} /^RssAnon/ {a = $2} /^RssFile/ {f = $2}
        /^RssShmem/ {s = $2} END {print r + 0, a + 0, f + 0, s + 0}' "/proc/$pid/status")
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup" 2>/dev/null)
    echo "$ticks $sched $vol $invol $threads $rss ${pss:-NA} $anon $file $shmem"
}

# Per-thread context switches of process "$1": "TID SWITCHES NAME" a line.
thread_switches() {
    local t
    for t in /proc/"$1"/task/*; do
        awk -v tid="${t##*/}" -v name="$(cat "$t/comm" 2>/dev/null)" '
            /^voluntary_ctxt_switches|^nonvoluntary_ctxt_switches/ {s += $2}
            END {gsub(/ /, "_", name); print tid, s, name}' "$t/status" 2>/dev/null
    done
}

# The whole machine's busy share (both cores) from two "cpu" lines of /proc/stat.
cpu_line() { head -n 1 /proc/stat; }
machine_busy_percent() {  # "$1" and "$2": cpu lines at the start and the end
    awk -v a="$1" -v b="$2" 'BEGIN {
        n = split(a, x, " "); split(b, y, " "); tot = 0
        for (i = 2; i <= n; i++) tot += y[i] - x[i]
        idle = (y[5] - x[5]) + (y[6] - x[6])
        printf "%.1f", (tot > 0 ? 100 * (tot - idle) / tot : 0) }'
}
