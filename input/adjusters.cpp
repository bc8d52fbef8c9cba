// SPDX-License-Identifier: GPL-3.0-or-later
// The set-point arrows and the knob's volume arithmetic.
#include "input/adjusters.h"

#include <algorithm>

#include "settings/number_text.h"
#include "skin/geometry.h"

namespace kestrelon {

int32_t CelsiusToFahrenheit(int32_t celsius) {
    return RoundToField<int32_t>(celsius * 9.0 / 5.0 + 32.0);
}

int32_t FahrenheitToCelsius(int32_t fahrenheit) {
    return RoundToField<int32_t>((fahrenheit - 32.0) * 5.0 / 9.0);
}

void StepTempLimit(MonitorState& s, Channel channel, int step) {
    int32_t& celsius = s.settings.limitCelsius[channel];
    int32_t& fahrenheit = s.settings.limitFahrenheit[channel];
    if (!s.settings.fahrenheit()) {
        celsius += step;
        if (step > 0 && celsius >= kLimitMaxC) celsius = kLimitMaxC;
        if (step < 0 && celsius <= kLimitMinC) celsius = kLimitMinC;
        fahrenheit = CelsiusToFahrenheit(celsius);
    } else {
        fahrenheit += step;
        if (step > 0 && fahrenheit >= kLimitMaxF) fahrenheit = kLimitMaxF;
        if (step < 0 && fahrenheit <= kLimitMinF) fahrenheit = kLimitMinF;
        celsius = FahrenheitToCelsius(fahrenheit);
    }
}

void StepFanSetting(MonitorState& s, Channel channel, int step) {
    const int32_t limit = s.readings.fanLimit[channel];
    if (limit == 0) return;
    int32_t& speed = s.settings.manualFanSpeed[channel];
    if (step > 0) {
        speed += kFanStep;
        if (speed >= limit) speed = limit;
    } else {
        speed -= kFanStep;
        const int32_t half = RoundToField<int32_t>(limit / 2.0);
        if (half >= speed) speed = half;
    }
}

int32_t KnobVolumeAt(double y) {
    const int16_t v = RoundToField<int16_t>((geo::kKnobZeroY - y) /
                                                geo::kVolumeSlider.liftRange * 100.0);
    return std::clamp<int32_t>(v, 0, 100);
}

}  // namespace kestrelon
