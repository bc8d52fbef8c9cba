// SPDX-License-Identifier: GPL-3.0-or-later
// Percent scaling between the volume knob and a mixer element's raw range.
#pragma once

#include <cstdint>

namespace kestrelon {

// A raw range whose maximum is at most this is written as it stands (no scaling).
inline constexpr int64_t kMixerPercentRange = 100;

// The element's raw value for a percentage: for a range wider than 100 the percentage times
// (max - min) / 100 with the remainder dropped, above min; then held inside min..max.
int64_t MixerRawFromPercent(int64_t percent, int64_t min, int64_t max);

// The percentage of a raw value: (raw - min) * 100 / (max - min), rounded half to even and held
// inside 0..100 (a sound server may report more than its maximum). A range whose maximum is at
// most 100 reads the raw value as it stands, held inside 0..100.
int32_t MixerPercentFromRaw(int64_t raw, int64_t min, int64_t max);

}  // namespace kestrelon
