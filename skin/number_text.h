// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the readouts: the "00" and "0#" patterns and the "----" of absent values.
#pragma once

#include <cstdint>
#include <string>

namespace kestrelon {

enum class NumberPattern {
    TwoDigits,    // "00": at least two digits, 0 gives "00"
    LeadingZero,  // "0#": at least two digits from 1 up, 0 gives the single "0"
};

// The value's decimal digits with a leading zero below 10 (a minus sign before them when
// negative).
std::string FormatNumber(int32_t value, NumberPattern pattern);

// The readout text: "----" when the value is 0 or above the ceiling, else FormatNumber.
std::string ReadoutText(int32_t value, NumberPattern pattern, int32_t ceiling);

// A host fact as its readout shows it: the text, and the unit it is in (0: the value's own,
// 1: 1024 times it, and so on).
struct FittedNumber {
    std::string text;
    int unit = 0;
    bool operator==(const FittedNumber&) const = default;
};
// A value that fits in `digits` characters is FormatNumber's "0#" text in its own unit. A longer
// one goes to the first larger unit (of `units`) where it fits, with one decimal, truncated,
// when that fits too: 24105 MB in four characters is "23.5" GB. Past the last unit the whole
// number of it is shown (and clipped as any readout).
FittedNumber FitNumber(int32_t value, int digits, int units);

}  // namespace kestrelon
