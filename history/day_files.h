// SPDX-License-Identifier: GPL-3.0-or-later
// The day files: <dir>/YYYY-MM-DD.csv (UTC dates), a header line and one row a minute, appended
// only. Rows never go back in time; a file deleted while running starts afresh; a full disk or
// an unwritable directory pauses the writing with one log line until a write works again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "history/history_row.h"

namespace kestrelon {

// $XDG_STATE_HOME/kestrelon/history when that variable holds an absolute path, else
// ~/.local/state/kestrelon/history.
std::string DefaultHistoryDirectory();

class DayFileStore {
public:
    // Finds the last row already written, so that nothing is written at or before it.
    DayFileStore(std::string directory, int keepDays);

    enum class Outcome { Written, NotAfterLast, Paused };
    // Appends the row to its day's file (with the header when the file is new or was removed).
    Outcome append(const HistoryRow& row);
    // The minute rows in [fromUtc, toUtc] (a row counts when any of its minute lies there), in
    // time order. Unreadable lines are skipped with one log line per file.
    HistoryRows read(int64_t fromUtc, int64_t toUtc) const;
    // Removes the day files (and only those) older than `keepDays` days before the day of `utc`.
    void removeOld(int64_t utc) const;

    std::string pathOf(int64_t utc) const;
    const std::string& directory() const { return dir_; }
    bool paused() const { return paused_; }
    std::optional<int64_t> lastWritten() const { return lastWritten_; }

private:
    // The days of the day files present, by their names.
    std::vector<int64_t> days() const;
    void pause(const std::string& why);

    std::string dir_;
    int keepDays_;
    std::optional<int64_t> lastWritten_;
    bool paused_ = false;
    bool behindTold_ = false;  // the clock's going back has been logged
};

}  // namespace kestrelon
