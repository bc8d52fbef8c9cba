// SPDX-License-Identifier: GPL-3.0-or-later
// The history window: a normal, resizable top-level window with the time range buttons over the
// charts. It reads its rows from the given source when shown, on a change of range and then once
// a second (the last ten minutes or hour) or once a minute (longer ranges), and does nothing
// while hidden.
#pragma once

#include <QButtonGroup>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/history_view.h"
#include "chart/chart_layout.h"
#include "core/options.h"
#include "history/history_row.h"

namespace kestrelon {

// The wall clock as the history window reads it: now in UTC seconds, and local time's offset
// from UTC at an instant (for the time labels).
struct WallClock {
    std::function<int64_t()> nowUtc;
    std::function<int(int64_t utcSeconds)> utcOffset;
};
WallClock SystemWallClock();

class HistoryWindow final : public QWidget {
public:
    using Source = std::function<HistoryRows(int64_t fromUtc, int64_t toUtc)>;

    HistoryWindow(Source source, const Options& options, WallClock clock = SystemWallClock());

    // Shows the window in its normal state, raised; it reads its rows at once.
    void showAndRaise();

    void setRange(chart::Range range);
    chart::Range range() const { return range_; }
    // Reads the range's rows up to now and draws them.
    void refresh();

    HistoryView& view() { return view_; }
    const QTimer& refreshTimer() const { return timer_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Source source_;
    WallClock clock_;
    chart::Range range_ = chart::Range::TenMinutes;
    QButtonGroup rangeButtons_;
    HistoryView view_;
    QTimer timer_;
};

}  // namespace kestrelon
