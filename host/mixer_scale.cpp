// SPDX-License-Identifier: GPL-3.0-or-later
// Percent scaling between the volume knob and a mixer element's raw range.
#include "host/mixer_scale.h"

#include <algorithm>
#include <cmath>

namespace kestrelon {

int64_t MixerRawFromPercent(int64_t percent, int64_t min, int64_t max) {
    int64_t raw = percent;
    if (max > kMixerPercentRange) raw = min + percent * ((max - min) / kMixerPercentRange);
    if (raw > max) raw = max;
    if (raw < min) raw = min;
    return raw;
}

int32_t MixerPercentFromRaw(int64_t raw, int64_t min, int64_t max) {
    double percent = static_cast<double>(raw);
    if (max > kMixerPercentRange && max > min)
        percent = std::nearbyint(static_cast<double>(raw - min) * 100.0 /
                                 static_cast<double>(max - min));
    return static_cast<int32_t>(std::clamp(percent, 0.0, 100.0));
}

}  // namespace kestrelon
