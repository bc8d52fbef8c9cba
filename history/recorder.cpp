// SPDX-License-Identifier: GPL-3.0-or-later
// Recording the samples and answering ranges of them.
#include "history/recorder.h"

#include <algorithm>
#include <chrono>

#include "history/utc_time.h"

namespace kestrelon {

int64_t SystemUtcClock::utcSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Recorder::Recorder(RecorderConfig config, const UtcClock& clock)
    : clock_(clock),
      store_(std::move(config.directory), config.keepDays),
      ringSince_(clock.utcSeconds()),
      day_(dayStart(ringSince_)) {
    store_.removeOld(ringSince_);
}

void Recorder::newDay(int64_t utc) {
    if (dayStart(utc) == day_) return;
    day_ = dayStart(utc);
    store_.removeOld(utc);
}

void Recorder::write(const std::optional<HistoryRow>& row) {
    if (row) store_.append(*row);
}

void Recorder::record(const Sample& sample, int64_t utc) {
    newDay(utc);
    if (!sample.panelPresent) {
        // No sample this second; a minute that has ended is written.
        lastSecond_ = INT64_MIN;
        if (const auto row = minute_.peek(); row && row->utcSeconds != minuteStart(utc))
            write(minute_.take());
        return;
    }
    ringSince_ = std::min(ringSince_, utc);  // a clock set back: the ring holds earlier seconds
    if (lastSecond_ == utc - 2) ring_.put(utc - 1, sample);
    ring_.put(utc, sample);
    lastSecond_ = utc;
    if (minuteStart(utc) != closedMinute_) write(minute_.add(utc, sample));
}

void Recorder::close() {
    const std::optional<HistoryRow> row = minute_.take();
    if (row) closedMinute_ = row->utcSeconds;
    write(row);
}

void Recorder::markGap(int64_t utc) {
    newDay(utc);
    lastSecond_ = INT64_MIN;  // the next sample stands for its own second only
    if (const auto row = minute_.peek(); row && row->utcSeconds < minuteStart(utc))
        write(minute_.take());
}

void Recorder::finish() {
    close();
}

HistoryRows Recorder::range(int64_t fromUtc, int64_t toUtc) const {
    if (toUtc < fromUtc) return {};
    const int64_t now = clock_.utcSeconds();
    const int64_t hourAgo = now - kRingSeconds + 1;
    if (fromUtc >= hourAgo) {
        const int64_t ringFrom = std::max(ringSince_, hourAgo);
        HistoryRows rows;
        // Before the ring began: the minutes that ended by then, from the files.
        if (fromUtc < ringFrom) {
            rows = store_.read(fromUtc, std::min(toUtc, ringFrom - 1));
            std::erase_if(
                rows, [&](const HistoryRow& r) { return r.utcSeconds + r.spanSeconds > ringFrom; });
        }
        const HistoryRows seconds = ring_.rows(std::max(fromUtc, ringFrom), toUtc);
        rows.insert(rows.end(), seconds.begin(), seconds.end());
        return rows;
    }
    HistoryRows rows = store_.read(fromUtc, toUtc);
    const std::optional<HistoryRow> gathering = minute_.peek();
    if (gathering && gathering->utcSeconds + gathering->spanSeconds > fromUtc &&
        gathering->utcSeconds <= toUtc &&
        (rows.empty() || gathering->utcSeconds > rows.back().utcSeconds))
        rows.push_back(*gathering);
    return rows;
}

}  // namespace kestrelon
