// SPDX-License-Identifier: GPL-3.0-or-later
// History timings: a 7-day range read out of 90 days of day files (one row a minute, every
// series present, as a panel with four sensors writes them), through the recorder as the history
// window asks for it, and the last hour from the in-memory ring.
#include <benchmark/benchmark.h>

#include "history_files.h"

namespace kestrelon {
namespace {

using bench::files;
using bench::FixedClock;
using bench::kDays;
using bench::kNow;

void BM_HistorySevenDaysFromNinetyDayFiles(benchmark::State& state) {
    FixedClock clock;
    const Recorder recorder(RecorderConfig{files().dir(), kDays}, clock);
    std::size_t rows = 0;
    for (auto _ : state) {
        const HistoryRows r = recorder.range(kNow - 7 * kSecondsPerDay + 1, kNow);
        rows = r.size();
        benchmark::DoNotOptimize(r.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    if (rows < 7 * 1440) state.SkipWithError("the files do not hold seven days");
}
BENCHMARK(BM_HistorySevenDaysFromNinetyDayFiles)->Unit(benchmark::kMillisecond);

void BM_HistoryLastHourFromTheRing(benchmark::State& state) {
    FixedClock clock;
    Recorder recorder(RecorderConfig{files().dir(), kDays}, clock);
    Sample s;
    s.panelPresent = true;
    for (Channel ch : kAllChannels) {
        s.temperatureC[ch] = 40;
        s.fanRpm[ch] = 1200;
    }
    // A ring already full: the hour before now, without writing to the files (those minutes
    // are at or before their last row).
    for (int64_t t = kNow - kRingSeconds + 1; t <= kNow; ++t) recorder.record(s, t);
    for (auto _ : state) {
        const HistoryRows r = recorder.range(kNow - kRingSeconds + 1, kNow);
        benchmark::DoNotOptimize(r.data());
    }
}
BENCHMARK(BM_HistoryLastHourFromTheRing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrelon
