#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A short fuzz run from the seeds: fails on a crash, a leak, a timeout or a broken invariant.
# Usage: smoke_run.sh FUZZER SEED_DIR WORK_DIR SECONDS
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
source "$(dirname "$0")/../scripts/lib.sh"
[ -n "${LSAN_OPTIONS:-}" ] || export_sanitizer_options
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
# New inputs go to the first directory, never into the seeds.
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds"
