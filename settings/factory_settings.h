// SPDX-License-Identifier: GPL-3.0-or-later
// The factory values of every user setting, applied in place.
#pragma once

#include "core/monitor_state.h"

namespace kestrelon {

// Limits 65/55/55/45 °C (and their °F twins), automatic fans, Celsius, alarm 12:00 and off, blue
// backlight, the LCD on the CPU sensor. Fan set points become a fifth of each fan's limit and
// manual speeds the limit itself; a fan whose limit is unknown (0) keeps its values.
void ApplyFactorySettings(MonitorState& state);

// Gives a fan whose limit is known the factory set point or manual speed where its value is 0,
// which no control can set and which would stop the fan: a value saved before any panel had
// reported that fan's limit. Returns how many values it filled in.
int FillUnknownFanValues(MonitorState& state);
// Whether any fan has a set point or manual speed of 0, whatever its limit.
bool HasUnknownFanValues(const MonitorState& state);

}  // namespace kestrelon
