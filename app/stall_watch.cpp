// SPDX-License-Identifier: GPL-3.0-or-later
// The window thread's heartbeat: a beat every few milliseconds; a gap well past that is a stall.
#include "app/stall_watch.h"

#include "core/log.h"

namespace kestrelon {

namespace {

constexpr int kBeatMs = 5;
// Gaps up to this are the timer's own jitter and the drawing of a frame; longer ones are logged.
constexpr qint64 kLoggedGapMs = 10;

}  // namespace

std::unique_ptr<StallWatch> StallWatch::FromEnvironment() {
    const std::string path = qEnvironmentVariable("KESTRELON_STALL_LOG").toStdString();
    if (path.empty()) return nullptr;
    return std::make_unique<StallWatch>(path);
}

StallWatch::StallWatch(const std::string& path) : out_(path, std::ios::app) {
    if (!out_) {
        LogLine("cannot write the stall log " + path);
        return;
    }
    // Each line: milliseconds since the watch started, then the gap before that beat.
    out_ << "# ms gap_ms\n" << std::flush;
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kBeatMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { beat(); });
    timer_.start();
}

void StallWatch::beat() {
    const qint64 now = clock_.elapsed();
    const qint64 gap = now - lastBeatMs_;
    lastBeatMs_ = now;
    if (gap > kLoggedGapMs) out_ << now << ' ' << gap << '\n' << std::flush;
}

}  // namespace kestrelon
