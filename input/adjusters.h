// SPDX-License-Identifier: GPL-3.0-or-later
// The set-point arrows: one step of a temperature limit (both units kept in step) or of a manual
// fan speed, held inside its range. Nothing is drawn or pushed here.
#pragma once

#include <cstdint>

#include "core/monitor_state.h"

namespace kestrelon {

inline constexpr int32_t kLimitMinC = 25, kLimitMaxC = 90;
inline constexpr int32_t kLimitMinF = 77, kLimitMaxF = 194;
inline constexpr int32_t kFanStep = 100;

int32_t CelsiusToFahrenheit(int32_t celsius);
int32_t FahrenheitToCelsius(int32_t fahrenheit);

// step is +1 (up) or -1 (down). The unit in t_unit leads; the other follows.
void StepTempLimit(MonitorState& state, Channel channel, int step);
// step is +1 or -1: 100 up to the fan's limit, or down to half of it. A fan whose limit is unknown
// (0) keeps its speed.
void StepFanSetting(MonitorState& state, Channel channel, int step);

// The knob's volume for a pointer at window row y: 0 % at y = 203, 100 % at y = 143.
int32_t KnobVolumeAt(double y);

}  // namespace kestrelon
