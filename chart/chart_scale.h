// SPDX-License-Identifier: GPL-3.0-or-later
// The history charts' axes: value scales on round steps, and time ticks on round local times
// with labels that suit the step.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon::chart {

// A value axis from `low` to `high`, both on a multiple of `step`.
struct ValueScale {
    double low = 0, high = 1, step = 1;

    bool operator==(const ValueScale&) const = default;
};

// The scale with the smallest step (1, 2 or 5 times a power of ten, and at least `minStep`) that
// holds lo..hi in at most `maxSteps` steps. An empty span (lo == hi) gets one step around it.
ValueScale NiceScale(double lo, double hi, int maxSteps, double minStep);

// A tick: its position in pixels along its axis, and its label.
struct Tick {
    double at = 0;
    std::string label;

    bool operator==(const Tick&) const = default;
};

// The time ticks' possible steps, in seconds, shortest first.
inline constexpr std::array<int64_t, 14> kTimeSteps{60,        120,   300,       600,      900,
                                                    1800,      3600,  2 * 3600,  3 * 3600, 6 * 3600,
                                                    12 * 3600, 86400, 2 * 86400, 7 * 86400};

// The shortest step of kTimeSteps whose ticks stand at least `minSpacingPx` apart when
// `spanSeconds` take `widthPx` pixels (the longest when none does).
int64_t TimeTickStep(int64_t spanSeconds, double widthPx, double minSpacingPx);

// A tick's label: "HH:MM" in local time (UTC + `utcOffsetSeconds`); at local midnight, and for
// steps of a day or more, the day instead: "Tue 8".
std::string TimeLabel(int64_t utcSeconds, int64_t step, int utcOffsetSeconds);

// The label under the pointer: "Tue 8 14:05" for a minute row, "Tue 8 14:05:07" for a second.
std::string PointerTimeLabel(int64_t utcSeconds, bool withSeconds, int utcOffsetSeconds);

// The instants in [fromUtc, toUtc] that are multiples of `step` in local time.
std::vector<int64_t> TimeTickInstants(int64_t fromUtc, int64_t toUtc, int64_t step,
                                      int utcOffsetSeconds);

// A value as an axis or pointer label: whole numbers without decimals, others with one.
std::string ValueLabel(double value);

}  // namespace kestrelon::chart
