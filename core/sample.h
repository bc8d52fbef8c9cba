// SPDX-License-Identifier: GPL-3.0-or-later
// One poll's readings as the history, the alerts and the metrics take them: degrees Celsius
// whatever unit the panel shows, rpm, and a missing reading as nothing rather than 0.
#pragma once

#include <cstdint>
#include <optional>

#include "core/monitor_state.h"

namespace kestrelon {

struct Sample {
    PerChannel<std::optional<double>> temperatureC;
    PerChannel<std::optional<int32_t>> fanRpm;
    PerChannel<int32_t> limitC;       // the temperature limits in force, °C
    PerChannel<int32_t> fanTargetRpm;  // the set point or manual speed in force
    PerChannel<int32_t> fanLimitRpm;   // each fan's highest speed; 0 until the panel reports it
    FanMode fanMode = FanMode::Manual;
    bool panelPresent = false;

    bool operator==(const Sample&) const = default;
};

inline double celsiusFromFahrenheit(double fahrenheit) {
    return (fahrenheit - 32.0) * 5.0 / 9.0;
}

// The panel reports temperatures in the unit it shows; with no panel every reading is missing.
inline Sample sampleOf(const MonitorState& s) {
    Sample out;
    out.fanMode = s.settings.fanMode;
    out.panelPresent = s.panel.present;
    for (Channel ch : kAllChannels) {
        out.limitC[ch] = s.settings.limitCelsius[ch];
        out.fanTargetRpm[ch] =
            s.settings.fansAutomatic() ? s.settings.fanSetPoint[ch] : s.settings.manualFanSpeed[ch];
        if (!s.panel.present) continue;
        out.fanLimitRpm[ch] = s.readings.fanLimit[ch];
        if (const std::optional<int32_t> t = s.readings.temperature[ch]) {
            out.temperatureC[ch] = s.settings.fahrenheit() ? celsiusFromFahrenheit(*t) : *t;
        }
        out.fanRpm[ch] = s.readings.fanSpeed[ch];
    }
    return out;
}

}  // namespace kestrelon
