// The factory values of every user setting, applied in place.
#pragma once

#include "core/monitor_state.h"

namespace kestrelon {

// Limits 65/55/55/45 °C (and their °F twins), automatic fans, Celsius, alarm 12:00 and off, blue
// backlight, the LCD on the CPU sensor. Fan set points become a fifth of each fan's limit and
// manual speeds the limit itself; a fan whose limit is unknown (0) keeps its values.
void ApplyFactorySettings(MonitorState& state);

}  // namespace kestrelon
