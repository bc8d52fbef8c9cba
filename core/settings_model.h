// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings file holds, named by meaning: the limits, the fans' set points and speeds,
// the backlight, the fan mode, the unit and the alarm time.
#pragma once

#include <cstdint>
#include <string>

#include "core/channel.h"

namespace kestrelon {

// The LCD's backlight, in the panel's own numbering.
enum class Backlight : int16_t { Off = 0, Red = 1, Blue = 2, Purple = 3 };
enum class FanMode : uint8_t { Manual, Automatic };
enum class TemperatureUnit : uint8_t { Celsius, Fahrenheit };

// The alarm's time of day as the file and the panel hold it: "HH:MM". The text is kept as read,
// so that a file written by hand loads and saves back unchanged.
struct AlarmTime {
    std::string text;

    bool operator==(const AlarmTime&) const = default;
};

struct Settings {
    PerChannel<int32_t> limitCelsius;     // temperature limits, °C
    PerChannel<int32_t> limitFahrenheit;  // the same limits in °F, kept in step
    PerChannel<int32_t> fanSetPoint;      // fan speeds the panel holds in automatic mode
    PerChannel<int32_t> manualFanSpeed;   // fan speeds in manual mode
    Backlight backlight = Backlight::Off;
    FanMode fanMode = FanMode::Manual;
    TemperatureUnit unit = TemperatureUnit::Celsius;
    AlarmTime alarm;

    bool fansAutomatic() const { return fanMode == FanMode::Automatic; }
    bool fahrenheit() const { return unit == TemperatureUnit::Fahrenheit; }
    // The Celsius button is lit exactly when the unit is Celsius.
    bool celsiusButtonLit() const { return unit == TemperatureUnit::Celsius; }

    bool operator==(const Settings&) const = default;
};

constexpr FanMode fanModeFor(bool automatic) {
    return automatic ? FanMode::Automatic : FanMode::Manual;
}
constexpr TemperatureUnit unitFor(bool fahrenheit) {
    return fahrenheit ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
}

}  // namespace kestrelon
