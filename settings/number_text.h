// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers typed into the settings file: lenient reading, rounding halves to even, fitting a field.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace kestrelon {

// The number at the start of `text`. Blanks (spaces, tabs) are skipped wherever they stand; then
// come an optional sign, digits with at most one "." and an optional exponent ("e" or "E", an
// optional sign and at least one digit). The longest such leading part counts; anything after it
// is ignored. A text without a leading number gives 0. Magnitudes beyond a double give +/-infinity.
double ParseLenientNumber(std::string_view text);

// The nearest whole number; a value exactly halfway goes to the even neighbour
// (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0, -1.5 -> -2).
double RoundHalfEven(double value);

// Rounds half to even, then clamps to the range of Int (a number too large for its field keeps
// the field's largest value of the same sign).
template <typename Int>
Int RoundToField(double value) {
    const double rounded = RoundHalfEven(value);
    if (std::isnan(rounded)) return 0;
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return static_cast<Int>(rounded);
}

}  // namespace kestrelon
