// SPDX-License-Identifier: GPL-3.0-or-later
// History timings: a 7-day range read out of 90 days of day files (one row a minute, every
// series present, as a panel with four sensors writes them), through the recorder as the history
// window asks for it, and the last hour from the in-memory ring.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "history/history_csv.h"
#include "history/recorder.h"
#include "history/utc_time.h"

namespace kestrelon {
namespace {

constexpr int64_t kNow = 1798761600 + 12 * 3600;  // 2027-01-01T12:00:00Z
constexpr int kDays = 90;

struct FixedClock final : UtcClock {
    int64_t utcSeconds() const override { return kNow; }
};

// 90 day files in a temporary directory, removed when the benchmarks end.
class HistoryFiles {
public:
    HistoryFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrelon-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) return;
        dir_ = pattern;
        HistoryRow row;
        row.spanSeconds = 60;
        row.limitC.values = {70, 45, 80, 40};
        row.fanMode = FanMode::Automatic;
        const int64_t first = dayStart(kNow) - (kDays - 1) * kSecondsPerDay;
        for (int64_t day = first; day <= dayStart(kNow); day += kSecondsPerDay) {
            std::ofstream out(dir_ / (dayName(day) + ".csv"));
            out << CsvHeader() << "\n";
            for (int64_t t = day; t < day + kSecondsPerDay && t < kNow; t += 60) {
                row.utcSeconds = t;
                for (Channel ch : kAllChannels) {
                    const double base = 30 + 5 * static_cast<double>(channelIndex(ch)) + t % 7;
                    row.temperatureC[ch] = {base, base + 1.37, base + 3};
                    const double fan = 1000 + 100 * static_cast<double>(channelIndex(ch));
                    row.fanRpm[ch] = {fan, fan + 12.25, fan + 40};
                }
                out << FormatCsvRow(row) << "\n";
            }
        }
    }
    ~HistoryFiles() {
        std::error_code ignored;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
    }
    HistoryFiles(const HistoryFiles&) = delete;
    HistoryFiles& operator=(const HistoryFiles&) = delete;
    std::string dir() const { return dir_.string(); }

private:
    std::filesystem::path dir_;
};

const HistoryFiles& files() {
    static const HistoryFiles f;
    return f;
}

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
