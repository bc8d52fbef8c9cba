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

FittedNumber FitNumber(int32_t value, int digits, int units) {
    const auto fits = [digits](const std::string& text) {
        return static_cast<int>(text.size()) <= digits;
    };
    FittedNumber shown{FormatNumber(value, NumberPattern::LeadingZero), 0};
    int64_t scale = 1;
    for (int unit = 1; unit < units && !fits(shown.text); ++unit) {
        scale *= 1024;
        const int64_t tenths = static_cast<int64_t>(value) * 10 / scale;
        const std::string whole = std::to_string(tenths / 10);
        const std::string withDecimal = whole + "." + std::to_string(std::llabs(tenths % 10));
        shown = {fits(withDecimal) ? withDecimal : whole, unit};
    }
    return shown;
}

}  // namespace kestrelon
