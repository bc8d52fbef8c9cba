// SPDX-License-Identifier: GPL-3.0-or-later
// Civil dates from day numbers and back (the proleptic Gregorian calendar), for the history's
// timestamps and file names.
#include "history/utc_time.h"

#include <charconv>
#include <cstdio>

namespace kestrelon {

namespace {

struct Civil {
    int64_t year;
    int month, day;
};

// Days since 1970-01-01 of a civil date.
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Civil civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

bool leapYear(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int64_t y, int m) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : days[m - 1];
}

// A fixed number of digits at `at`, nothing else.
std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY-MM-DD" at the start of `text`, as days since 1970-01-01.
std::optional<int64_t> parseDate(std::string_view text) {
    const auto y = digits(text, 0, 4), m = digits(text, 5, 2), d = digits(text, 8, 2);
    if (!y || !m || !d || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (*m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
    return daysFromCivil(*y, *m, *d);
}

}  // namespace

std::string isoUtc(int64_t utc) {
    const Civil c = civilFromDays(floorDiv(utc, kSecondsPerDay));
    const int64_t s = utc - dayStart(utc);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04lld-%02d-%02dT%02d:%02d:%02dZ",
                  static_cast<long long>(c.year), c.month, c.day, static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return buf;
}

std::optional<int64_t> parseIsoUtc(std::string_view text) {
    if (text.size() != 20 || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
        text[19] != 'Z')
        return std::nullopt;
    const auto days = parseDate(text.substr(0, 10));
    const auto h = digits(text, 11, 2), m = digits(text, 14, 2), s = digits(text, 17, 2);
    if (!days || !h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
    return *days * kSecondsPerDay + *h * 3600 + *m * 60 + *s;
}

std::string dayName(int64_t utc) {
    return isoUtc(utc).substr(0, 10);
}

std::optional<int64_t> parseDayName(std::string_view text) {
    if (text.size() != 10) return std::nullopt;
    const auto days = parseDate(text);
    if (!days) return std::nullopt;
    return *days * kSecondsPerDay;
}

}  // namespace kestrelon
