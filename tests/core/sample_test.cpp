// SPDX-License-Identifier: GPL-3.0-or-later
// One poll's readings as the history, alerts and metrics take them: Celsius whatever the panel
// shows, missing readings missing, nothing at all without a panel, the fan target in force.
#include "core/sample.h"

#include <gtest/gtest.h>

namespace kestrelon {
namespace {

TEST(Sample, TakesCelsiusMissingReadingsAndTheTargetInForce) {
    MonitorState s;
    s.panel.present = true;
    s.readings.temperature.values = {113, std::nullopt, 32, 50};
    s.readings.fanSpeed.values = {1450, 0, std::nullopt, 1900};
    s.settings.limitCelsius.values = {45, 50, 60, 40};
    s.settings.fanSetPoint.values = {1000, 1100, 1200, 1300};
    s.settings.manualFanSpeed.values = {2000, 2100, 2200, 2300};

    struct Case {
        TemperatureUnit unit;
        FanMode mode;
        PerChannel<std::optional<double>> celsius;
        PerChannel<int32_t> target;
    };
    const Case cases[] = {
        {TemperatureUnit::Celsius, FanMode::Manual, {{113.0, std::nullopt, 32.0, 50.0}},
         {{2000, 2100, 2200, 2300}}},
        {TemperatureUnit::Fahrenheit, FanMode::Automatic, {{45.0, std::nullopt, 0.0, 10.0}},
         {{1000, 1100, 1200, 1300}}},
    };
    for (const Case& c : cases) {
        s.settings.unit = c.unit;
        s.settings.fanMode = c.mode;
        const Sample got = sampleOf(s);
        EXPECT_EQ(got.temperatureC, c.celsius);
        EXPECT_EQ(got.fanRpm, s.readings.fanSpeed);
        EXPECT_EQ(got.fanTargetRpm, c.target);
        EXPECT_EQ(got.limitC, s.settings.limitCelsius) << "limits are always Celsius";
        EXPECT_EQ(got.fanMode, c.mode);
    }

    s.panel.present = false;  // readings left from before an unplug are not readings now
    const Sample none = sampleOf(s);
    EXPECT_FALSE(none.panelPresent);
    EXPECT_EQ(none.temperatureC, PerChannel<std::optional<double>>{});
    EXPECT_EQ(none.fanRpm, PerChannel<std::optional<int32_t>>{});
    EXPECT_EQ(none.limitC, s.settings.limitCelsius);
}

}  // namespace
}  // namespace kestrelon
