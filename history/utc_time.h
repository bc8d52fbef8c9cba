// SPDX-License-Identifier: GPL-3.0-or-later
// UTC seconds as the history writes them: "2026-03-01T14:05:00Z" in a row, "2026-03-01" in a
// day file's name. Pure arithmetic on the civil calendar: no time zone, no locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrelon {

inline constexpr int64_t kSecondsPerDay = 86400;

constexpr int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
constexpr int64_t minuteStart(int64_t utc) {
    return floorDiv(utc, 60) * 60;
}
constexpr int64_t dayStart(int64_t utc) {
    return floorDiv(utc, kSecondsPerDay) * kSecondsPerDay;
}

// "YYYY-MM-DDTHH:MM:SSZ".
std::string isoUtc(int64_t utc);
// Exactly that form, with a real date and time; nothing otherwise.
std::optional<int64_t> parseIsoUtc(std::string_view text);
// "YYYY-MM-DD" of the day holding `utc`.
std::string dayName(int64_t utc);
// The start of the day named "YYYY-MM-DD"; nothing for anything else.
std::optional<int64_t> parseDayName(std::string_view text);

}  // namespace kestrelon
