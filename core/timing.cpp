// SPDX-License-Identifier: GPL-3.0-or-later
// Real and virtual clocks and waits.
#include "core/timing.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace kestrelon {

namespace {
std::string formatSecondsOfDay(long total) {
    total %= 86400;
    if (total < 0) total += 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", total / 3600, (total / 60) % 60,
                  total % 60);
    return text;
}
}  // namespace

double SystemClock::monotonicSeconds() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string SystemClock::timeOfDay() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return formatSecondsOfDay(local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec);
}

void SleepWaiter::delay(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string VirtualTime::timeOfDay() const {
    return formatSecondsOfDay(static_cast<long>(std::floor(startOfDay_ + elapsed_)));
}

void VirtualTime::delay(int ms) {
    double s = ms > 0 ? ms / 1000.0 : 0.0;
    elapsed_ += s;
    waited_ += s;
    ++waits_;
}

void VirtualTime::setTimeOfDay(int secondsOfDay) {
    startOfDay_ = secondsOfDay - elapsed_;
}

}  // namespace kestrelon
