// SPDX-License-Identifier: GPL-3.0-or-later
// The history window opening on its 7-day view out of 90 days of day files: from show() until
// the window is drawn once (the rows read through the recorder, the charts laid out, painted),
// offscreen, as a user waits for it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "../history_files.h"
#include "app/history_window.h"

namespace kestrelon {
namespace {

void BM_HistoryWindowOpensOnSevenDays(benchmark::State& state) {
    bench::FixedClock clock;
    const Recorder recorder(RecorderConfig{bench::files().dir(), bench::kDays}, clock);
    const WallClock wall{[] { return bench::kNow; }, [](int64_t) { return 0; }};
    std::size_t rows = 0;
    for (auto _ : state) {
        HistoryWindow window(
            [&recorder](int64_t from, int64_t to) { return recorder.range(from, to); }, Options{},
            wall);
        window.resize(900, 620);
        window.setRange(chart::Range::SevenDays);
        window.show();  // reads the rows
        const QPixmap drawn = window.grab();
        benchmark::DoNotOptimize(drawn.cacheKey());
        rows = window.view().rows().size();
    }
    state.counters["rows"] = static_cast<double>(rows);
    if (rows < 7 * 1440) state.SkipWithError("the window holds less than seven days");
}
BENCHMARK(BM_HistoryWindowOpensOnSevenDays)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrelon

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
