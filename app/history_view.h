// SPDX-License-Identifier: GPL-3.0-or-later
// The history window's drawing: the sensors' legend, the temperature chart over the fan-speed
// chart on the same time axis, and the time line and values under the pointer. QPainter only.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "chart/chart_layout.h"
#include "chart/pointer_readout.h"
#include "history/history_row.h"

namespace kestrelon {

class HistoryView final : public QWidget {
public:
    HistoryView(PerChannel<std::string> sensorNames, QWidget* parent);

    // The rows to draw and the time they cover; `range` only words the empty chart's message.
    void setRows(HistoryRows rows, int64_t fromUtc, int64_t toUtc, int utcOffsetSeconds,
                 chart::Range range);
    const HistoryRows& rows() const { return rows_; }

    // Where each chart's plot lies in the view, and what it shows there.
    QRectF plotRect(chart::Quantity quantity) const;
    const chart::ChartPicture& picture(chart::Quantity quantity) const;
    // The values under the pointer; nothing while it is elsewhere or over a gap.
    std::optional<chart::PointerReadout> readout() const;
    // The line said instead of the charts' lines: nothing while there is something to draw.
    std::optional<std::string> message() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Chart {
        chart::Quantity quantity;
        chart::ChartFrame frame;
        chart::ChartPicture picture;
    };
    void layOut();
    const Chart& chartOf(chart::Quantity quantity) const;
    const HistoryRow* rowUnderPointer() const;
    void paintLegend(QPainter& p) const;
    void paintChart(QPainter& p, const Chart& chart) const;
    void paintPointer(QPainter& p) const;

    PerChannel<std::string> names_;
    HistoryRows rows_;
    int64_t fromUtc_ = 0, toUtc_ = 0;
    int utcOffset_ = 0;
    chart::Range range_ = chart::Range::TenMinutes;
    std::array<Chart, 2> charts_{
        {{chart::Quantity::Temperature, {}, {}}, {chart::Quantity::FanSpeed, {}, {}}}};
    std::optional<double> pointerX_;
};

}  // namespace kestrelon
