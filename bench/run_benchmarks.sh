#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds kestrelon_bench and kestrelon_bench_window (RelWithDebInfo), runs every benchmark with repetitions in a private
# network namespace and prints each budgeted figure beside its budget. Measures, never asserts:
# the exit status says only whether the benchmarks ran.
#
# usage: bench/run_benchmarks.sh [--repetitions N] [--out DIR] [--no-build] [-- BENCHMARK ARGS]
#   --repetitions N  runs of each benchmark; medians, means and spread are printed (default 5)
#   --out DIR        where the full output goes (default: a new temporary directory)
#   --no-build       use the benchmarks already in BUILD_DIR (default BUILD_DIR: build/)
set -euo pipefail
source "$(dirname "$0")/session_lib.sh"

REPS=5 OUT='' BUILD=1 extra=()
while [ $# -gt 0 ]; do
    case $1 in
    --repetitions) REPS=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    --no-build) BUILD=0; shift ;;
    --) shift; extra=("$@"); break ;;
    -h | --help) bench_usage; exit 0 ;;
    *) bench_usage error ;;
    esac
done
if [ "$BUILD" = 1 ]; then
    ensure_packages "${BUILD_PACKAGES[@]}"
    bench_build kestrelon_bench kestrelon_bench_window
fi
for bench in kestrelon_bench kestrelon_bench_window; do
    [ -x "$BUILD_DIR/bin/$bench" ] || { echo "no $BUILD_DIR/bin/$bench: build it or set BUILD_DIR" >&2; exit 1; }
done
OUT=${OUT:-$(mktemp -d /tmp/kestrelon-bench.XXXXXX)}
mkdir -p "$OUT"

echo "kestrelon: load average before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
: >"$OUT/bench.txt"
for bench in kestrelon_bench kestrelon_bench_window; do
    in_private_net "QT_QPA_PLATFORM=offscreen $(printf '%q ' "$BUILD_DIR/bin/$bench" \
        --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
        --benchmark_out="$OUT/$bench.json" --benchmark_out_format=json "${extra[@]}")" \
        >>"$OUT/bench.txt" 2>&1 || { cat "$OUT/bench.txt" >&2; exit 1; }
done
echo "kestrelon: load average after: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

# Budgets in µs by benchmark name prefix; the verdict takes the median of the wall-clock times
# (what a person waits for, the machine's other work included), which is never below CPU time.
awk '
    function us(v, unit) { return unit == "ns" ? v / 1000 : unit == "ms" ? v * 1000 : unit == "s" ? v * 1e6 : v }
    BEGIN {
        budget["BM_WindowRegion"] = 2000; budget["BM_DefaultSkin_WindowRegion"] = 2000
        budget["BM_DefaultSkin_RendererWindowRegion"] = 2000
        budget["BM_RefreshSkin"] = 500; budget["BM_DefaultSkin_RefreshSkin"] = 500
        budget["BM_WingFrame"] = 500; budget["BM_DefaultSkin_WingFrame"] = 500
        budget["BM_PollCycle"] = 20
        budget["BM_HistorySevenDaysFromNinetyDayFiles"] = 150000
        budget["BM_HistoryWindowOpensOnSevenDays"] = 150000
    }
    $1 ~ /_(median|min|mean|stddev|cv)$/ && NF >= 5 {
        name = $1; stat = name; sub(/.*_/, "", stat); sub(/_[a-z]+$/, "", name)
        if (!(name in seen)) { seen[name] = 1; order[++n] = name }
        if (stat == "cv") { real[name, stat] = $2; cpu[name, stat] = $4 }
        else { real[name, stat] = us($2, $3); cpu[name, stat] = us($4, $5) }
    }
    END {
        printf "%-40s %11s %11s %11s %7s %8s  %s\n", "benchmark (µs)", "real median", "cpu median", "real mean", "real cv", "budget", "verdict"
        for (i = 1; i <= n; i++) {
            name = order[i]; b = ""
            for (k in budget) if (index(name, k) == 1 && (b == "" || length(k) > length(bk))) { b = budget[k]; bk = k }
            verdict = b == "" ? "" : (real[name, "median"] <= b ? "met" : "MISSED")
            printf "%-40s %11.3f %11.3f %11.3f %6.1f%% %8s  %s\n", name, real[name, "median"], cpu[name, "median"], real[name, "mean"], real[name, "cv"], b, verdict
        }
    }' "$OUT/bench.txt" | tee "$OUT/summary.txt"
echo "kestrelon: full output in $OUT (bench.txt and a .json file for each program)" >&2
