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

}  // namespace kestrelon
