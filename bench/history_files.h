// SPDX-License-Identifier: GPL-3.0-or-later
// 90 days of history day files for the benchmarks (one row a minute, every series present, as a
// panel with four sensors writes them), made once in a temporary directory and removed at exit,
// and a clock that stands at the end of them.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "history/history_csv.h"
#include "history/recorder.h"
#include "history/utc_time.h"

namespace kestrelon::bench {

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

inline const HistoryFiles& files() {
    static const HistoryFiles f;
    return f;
}

}  // namespace kestrelon::bench
