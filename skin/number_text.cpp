// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the readouts.
#include "skin/number_text.h"

#include <cstdio>
#include <cstdlib>

namespace kestrelon {

std::string FormatNumber(int32_t value, NumberPattern pattern) {
    if (value == 0) return pattern == NumberPattern::TwoDigits ? "00" : "0";
    char text[16];
    std::snprintf(text, sizeof text, "%s%02lld", value < 0 ? "-" : "",
                  std::llabs(static_cast<long long>(value)));
    return text;
}

std::string ReadoutText(int32_t value, NumberPattern pattern, int32_t ceiling) {
    if (value == 0 || value > ceiling) return "----";
    return FormatNumber(value, pattern);
}

}  // namespace kestrelon
