// SPDX-License-Identifier: GPL-3.0-or-later
// Settings file timings: LoadSettings and SaveSettings (fsync and rename included) on a realistic
// Settings.inf in a private temporary directory, and the in-memory formatting alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "core/monitor_state.h"
#include "settings/settings_file.h"

namespace kestrelon {
namespace {

// A temporary directory, removed with its content when the benchmark ends.
class BenchDir {
  public:
    BenchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrelon-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~BenchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;
    bool valid() const { return !path_.empty(); }
    std::filesystem::path settings() const { return path_ / "Settings.inf"; }

  private:
    std::filesystem::path path_;
};

// The settings a user of the panel typically has after a few changes.
MonitorState RealisticState() {
    MonitorState s;
    s.st[1] = 70, s.st[2] = 50, s.st[3] = 60, s.st[4] = 45;
    s.fst[1] = 158, s.fst[2] = 122, s.fst[3] = 140, s.fst[4] = 113;
    s.back_color = 2;
    s.auto_stat = true;
    s.t_unit = false;
    s.dec_stat = true;
    s.alarm_time = "06:45";
    s.sf[1] = 480, s.sf[2] = 400, s.sf[3] = 320, s.sf[4] = 600;
    s.msf[1] = 2400, s.msf[2] = 2000, s.msf[3] = 1600, s.msf[4] = 3000;
    return s;
}

void BM_LoadSettings(benchmark::State& bench) {
    BenchDir dir;
    if (!dir.valid() || !SaveSettings(RealisticState(), dir.settings())) {
        bench.SkipWithError("cannot prepare the settings file");
        return;
    }
    MonitorState state;
    for (auto _ : bench) {
        LoadSettings(state, dir.settings());
        benchmark::DoNotOptimize(state.msf[4]);
    }
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& bench) {
    BenchDir dir;
    if (!dir.valid()) {
        bench.SkipWithError("cannot make a temporary directory");
        return;
    }
    const MonitorState state = RealisticState();
    for (auto _ : bench) {
        if (!SaveSettings(state, dir.settings())) {
            bench.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_SettingsFileText(benchmark::State& bench) {
    const MonitorState state = RealisticState();
    for (auto _ : bench) benchmark::DoNotOptimize(SettingsFileText(state));
}
BENCHMARK(BM_SettingsFileText);

}  // namespace
}  // namespace kestrelon
