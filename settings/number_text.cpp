// SPDX-License-Identifier: GPL-3.0-or-later
// Lenient number reading and half-even rounding for the settings file.
#include "settings/number_text.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace kestrelon {

namespace {

bool IsSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents are saturated here; anything this large is out of a double's range either way.
constexpr long kExponentCap = 100000;

}  // namespace

double ParseLenientNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!IsSpaceOrTab(c)) compact.push_back(c);

    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < compact.size() ? compact[k] : '\0'; };

    bool negative = false;
    if (at(i) == '+' || at(i) == '-') negative = compact[i++] == '-';

    std::string digits;  // integer and fraction digits, without the point
    std::size_t integer_digits = 0;
    while (IsDigit(at(i))) digits.push_back(compact[i++]);
    integer_digits = digits.size();
    if (at(i) == '.') {
        ++i;
        while (IsDigit(at(i))) digits.push_back(compact[i++]);
    }
    if (digits.empty()) return 0.0;

    long exponent = 0;
    if (at(i) == 'e' || at(i) == 'E') {
        std::size_t k = i + 1;
        bool exponent_negative = false;
        if (at(k) == '+' || at(k) == '-') exponent_negative = compact[k++] == '-';
        if (IsDigit(at(k))) {
            while (IsDigit(at(k))) {
                exponent = std::min(exponent * 10 + (compact[k++] - '0'), kExponentCap);
            }
            if (exponent_negative) exponent = -exponent;
        }
    }

    const std::size_t first_nonzero = digits.find_first_not_of('0');
    if (first_nonzero == std::string::npos) return negative ? -0.0 : 0.0;

    // "d.ddd" followed by the exponent of its leading digit: a form from_chars reads directly.
    const long leading_exponent =
        static_cast<long>(integer_digits) - 1 - static_cast<long>(first_nonzero) + exponent;
    std::string normal;
    normal.reserve(digits.size() + 24);
    normal.push_back(digits[first_nonzero]);
    normal.push_back('.');
    normal.append(digits, first_nonzero + 1);
    normal.push_back('e');
    normal.append(std::to_string(leading_exponent));

    double magnitude = 0.0;
    const auto [end, error] =
        std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
    (void)end;
    if (error == std::errc::result_out_of_range)
        magnitude = leading_exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

}  // namespace kestrelon
