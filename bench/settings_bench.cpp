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
    s.settings.limitCelsius[Channel::Cpu] = 70, s.settings.limitCelsius[Channel::Hdd] = 50,
    s.settings.limitCelsius[Channel::Vga] = 60, s.settings.limitCelsius[Channel::Case] = 45;
    s.settings.limitFahrenheit[Channel::Cpu] = 158, s.settings.limitFahrenheit[Channel::Hdd] = 122,
    s.settings.limitFahrenheit[Channel::Vga] = 140, s.settings.limitFahrenheit[Channel::Case] = 113;
    s.settings.backlight = Backlight::Blue;
    s.settings.fanMode = FanMode::Automatic;
    s.settings.unit = TemperatureUnit::Celsius;
    s.settings.alarm.text = "06:45";
    s.settings.fanSetPoint[Channel::Cpu] = 480, s.settings.fanSetPoint[Channel::Hdd] = 400,
    s.settings.fanSetPoint[Channel::Vga] = 320, s.settings.fanSetPoint[Channel::Case] = 600;
    s.settings.manualFanSpeed[Channel::Cpu] = 2400, s.settings.manualFanSpeed[Channel::Hdd] = 2000,
    s.settings.manualFanSpeed[Channel::Vga] = 1600, s.settings.manualFanSpeed[Channel::Case] = 3000;
    return s;
}

void BM_LoadSettings(benchmark::State& bench) {
    BenchDir dir;
    if (!dir.valid() || !SaveSettings(RealisticState().settings, dir.settings())) {
        bench.SkipWithError("cannot prepare the settings file");
        return;
    }
    MonitorState state;
    for (auto _ : bench) {
        LoadSettings(state.settings, dir.settings());
        benchmark::DoNotOptimize(state.settings.manualFanSpeed[Channel::Case]);
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
        if (!SaveSettings(state.settings, dir.settings())) {
            bench.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_SettingsFileText(benchmark::State& bench) {
    const MonitorState state = RealisticState();
    for (auto _ : bench) benchmark::DoNotOptimize(SettingsFileText(state.settings));
}
BENCHMARK(BM_SettingsFileText);

}  // namespace
}  // namespace kestrelon
