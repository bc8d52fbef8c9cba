// SPDX-License-Identifier: GPL-3.0-or-later
// The program's log, with repeats held back.
#include "core/log.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>

namespace kestrelon {

namespace {

struct Seen {
    double at = 0;
    long repeats = 0;
};

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::mutex& logLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::string, Seen>& seenLines() {
    static std::map<std::string, Seen> seen;
    return seen;
}

}  // namespace

void ForgetLoggedLines() {
    std::lock_guard<std::mutex> hold(logLock());
    seenLines().clear();
}

void LogLine(const std::string& message) {
    constexpr std::size_t kMostRemembered = 256;
    std::lock_guard<std::mutex> hold(logLock());
    std::map<std::string, Seen>& seen = seenLines();
    const double t = now();
    auto it = seen.find(message);
    if (it != seen.end() && t - it->second.at < kLogRepeatQuietSeconds) {
        ++it->second.repeats;
        return;
    }
    std::string line = "kestrelon: " + message;
    if (it != seen.end() && it->second.repeats > 0)
        line +=
            " (" + std::to_string(it->second.repeats) + " more times since it was last written)";
    line += "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    if (seen.size() >= kMostRemembered && it == seen.end()) seen.clear();
    seen[message] = Seen{t, 0};
}

}  // namespace kestrelon
