// SPDX-License-Identifier: GPL-3.0-or-later
// Value scales on round steps and time ticks on round local times.
#include "chart/chart_scale.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace kestrelon::chart {

namespace {

constexpr int64_t kDay = 86400;
constexpr std::array<std::string_view, 7> kWeekdays{"Sun", "Mon", "Tue", "Wed",
                                                    "Thu", "Fri", "Sat"};

// Floor division, right for instants before 1970 too.
int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
int64_t floorMod(int64_t a, int64_t b) {
    return a - floorDiv(a, b) * b;
}

// The smallest 1, 2 or 5 times a power of ten at or above `at`.
double niceStepAtLeast(double at) {
    if (!(at > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(at)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= at * (1 - 1e-9)) return m * power;
    return 10 * power;
}

std::string dayLabel(int64_t localSeconds) {
    const int64_t days = floorDiv(localSeconds, kDay);
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days}}};
    // 1970-01-01 was a Thursday.
    const auto weekday = static_cast<std::size_t>(floorMod(days + 4, 7));
    return std::string(kWeekdays[weekday]) + " " +
           std::to_string(static_cast<unsigned>(date.day()));
}

std::string clockLabel(int64_t localSeconds, bool withSeconds) {
    const int64_t inDay = floorMod(localSeconds, kDay);
    char text[16];
    if (withSeconds)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(inDay / 3600),
                      static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
    else
        std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(inDay / 3600),
                      static_cast<int>(inDay / 60 % 60));
    return text;
}

}  // namespace

ValueScale NiceScale(double lo, double hi, int maxSteps, double minStep) {
    if (hi < lo) std::swap(lo, hi);
    maxSteps = std::max(maxSteps, 1);
    double step = niceStepAtLeast(std::max(minStep, (hi - lo) / maxSteps));
    // Rounding the ends out to the step can need one step more than the span: a larger step.
    for (;;) {
        double low = std::floor(lo / step) * step;
        double high = std::ceil(hi / step) * step;
        if (high <= low) high = low + step;
        if ((high - low) / step <= maxSteps + 1e-9) return {low, high, step};
        step = niceStepAtLeast(step * 1.5);
    }
}

int64_t TimeTickStep(int64_t spanSeconds, double widthPx, double minSpacingPx) {
    if (spanSeconds <= 0 || widthPx <= 0) return kTimeSteps.back();
    for (int64_t step : kTimeSteps)
        if (static_cast<double>(step) * widthPx / static_cast<double>(spanSeconds) >= minSpacingPx)
            return step;
    return kTimeSteps.back();
}

std::string TimeLabel(int64_t utcSeconds, int64_t step, int utcOffsetSeconds) {
    const int64_t local = utcSeconds + utcOffsetSeconds;
    if (step >= kDay || floorMod(local, kDay) == 0) return dayLabel(local);
    return clockLabel(local, false);
}

std::string PointerTimeLabel(int64_t utcSeconds, bool withSeconds, int utcOffsetSeconds) {
    const int64_t local = utcSeconds + utcOffsetSeconds;
    return dayLabel(local) + " " + clockLabel(local, withSeconds);
}

std::vector<int64_t> TimeTickInstants(int64_t fromUtc, int64_t toUtc, int64_t step,
                                      int utcOffsetSeconds) {
    std::vector<int64_t> out;
    if (step <= 0 || toUtc < fromUtc) return out;
    // Weeks start on Monday: 1970-01-05 was one.
    const int64_t origin = step % (7 * kDay) == 0 ? 4 * kDay : 0;
    const int64_t localFrom = fromUtc + utcOffsetSeconds - origin;
    int64_t tick = (floorDiv(localFrom - 1, step) + 1) * step + origin - utcOffsetSeconds;
    for (; tick <= toUtc; tick += step) out.push_back(tick);
    return out;
}

std::string ValueLabel(double value) {
    const double rounded = std::round(value);
    char text[32];
    if (std::fabs(value - rounded) < 0.05)
        std::snprintf(text, sizeof text, "%.0f", rounded == 0 ? 0.0 : rounded);
    else
        std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace kestrelon::chart
