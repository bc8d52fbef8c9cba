// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the history charts laid out by chart/ with QPainter, and following the pointer.
#include "app/history_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "chart/chart_palette.h"

namespace kestrelon {

namespace {

using chart::Quantity;

constexpr int kMarginLeft = 58;  // the value labels
constexpr int kMarginRight = 18;
constexpr int kLegendHeight = 30;
constexpr int kTitleHeight = 20;
constexpr int kTimeLabelHeight = 18;
constexpr int kChartGap = 8;
constexpr int kMarginBottom = 4;
constexpr double kTemperatureShare = 0.55;  // of the height both plots share
constexpr int kTextPx = 12;
constexpr double kLineWidth = 2;
constexpr double kLimitWidth = 2;
// A limit's dashes, in line widths: a quarter of the pattern drawn. Each sensor's dashes are
// shifted by a quarter, so limits that coincide show all their colours in turn.
constexpr double kLimitDash = 3, kLimitSpace = 9;
constexpr int kReadoutPad = 6;

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QFont textFont(const QFont& base, bool bold = false) {
    QFont f = base;
    f.setPixelSize(kTextPx);
    f.setBold(bold);
    return f;
}

}  // namespace

HistoryView::HistoryView(PerChannel<std::string> sensorNames, QWidget* parent)
    : QWidget(parent), names_(std::move(sensorNames)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(420, 300);
}

void HistoryView::setRows(HistoryRows rows, int64_t fromUtc, int64_t toUtc, int utcOffsetSeconds,
                          chart::Range range) {
    rows_ = std::move(rows);
    fromUtc_ = fromUtc;
    toUtc_ = toUtc;
    utcOffset_ = utcOffsetSeconds;
    range_ = range;
    layOut();
    update();
}

void HistoryView::layOut() {
    const int plotsHeight =
        std::max(40, height() - kLegendHeight - 2 * (kTitleHeight + kTimeLabelHeight) - kChartGap -
                         kMarginBottom);
    const int width = std::max(40, this->width() - kMarginLeft - kMarginRight);
    const int temperatureHeight = static_cast<int>(plotsHeight * kTemperatureShare);
    int top = kLegendHeight + kTitleHeight;
    for (Chart& c : charts_) {
        const int h = c.quantity == Quantity::Temperature ? temperatureHeight
                                                          : plotsHeight - temperatureHeight;
        c.frame = {fromUtc_, toUtc_, QRectF(kMarginLeft, top, width, h), utcOffset_};
        c.picture = chart::LayOutChart(rows_, c.quantity, c.frame);
        top += h + kTimeLabelHeight + kChartGap + kTitleHeight;
    }
}

const HistoryView::Chart& HistoryView::chartOf(Quantity quantity) const {
    return quantity == Quantity::Temperature ? charts_[0] : charts_[1];
}

QRectF HistoryView::plotRect(Quantity quantity) const {
    return chartOf(quantity).frame.plot;
}

const chart::ChartPicture& HistoryView::picture(Quantity quantity) const {
    return chartOf(quantity).picture;
}

const HistoryRow* HistoryView::rowUnderPointer() const {
    if (!pointerX_) return nullptr;
    return chart::RowUnderPointer(rows_, charts_[0].frame, *pointerX_);
}

std::optional<chart::PointerReadout> HistoryView::readout() const {
    const HistoryRow* row = rowUnderPointer();
    if (!row) return std::nullopt;
    return chart::ReadoutOf(*row, utcOffset_);
}

std::optional<std::string> HistoryView::message() const {
    const std::string last = "the last " + std::string(chart::RangeOf(range_).label);
    if (rows_.empty()) return "No history yet for " + last + ".";
    if (!charts_[0].picture.anyValue && !charts_[1].picture.anyValue)
        return "No readings in " + last + ": no panel answered.";
    return std::nullopt;
}

void HistoryView::resizeEvent(QResizeEvent*) {
    layOut();
}

void HistoryView::mouseMoveEvent(QMouseEvent* event) {
    // Over the charts (or between them) the pointer stands for a time; elsewhere for none.
    const QPointF at = event->position();
    if (at.y() >= charts_[0].frame.plot.top() && at.y() <= charts_[1].frame.plot.bottom())
        pointerX_ = at.x();
    else
        pointerX_.reset();
    update();
}

void HistoryView::leaveEvent(QEvent*) {
    pointerX_.reset();
    update();
}

void HistoryView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), chart::kWindowBack);
    p.setFont(textFont(font()));
    paintLegend(p);
    for (const Chart& c : charts_) paintChart(p, c);
    if (const auto said = message()) {
        p.setPen(chart::kCursor);  // white-hot: apart from every sensor's colour
        p.setFont(textFont(font(), true));
        p.drawText(charts_[0].frame.plot, Qt::AlignCenter, QString::fromStdString(*said));
        p.setFont(textFont(font()));
    }
    paintPointer(p);
}

void HistoryView::paintLegend(QPainter& p) const {
    const QFontMetrics m(p.font());
    const int mid = kLegendHeight / 2;
    int x = kMarginLeft;
    for (Channel c : kAllChannels) {
        p.fillRect(QRect(x, mid - 2, 18, 4), chart::kSensorColour[c]);
        x += 24;
        p.setPen(chart::kTitleText);
        const QString name = QString::fromStdString(names_[c]);
        p.drawText(QPoint(x, mid + m.ascent() / 2 - 1), name);
        x += m.horizontalAdvance(name) + 22;
    }
    // The key to the marks, right-aligned: the mean's line, the band, the limit's dashes.
    const QString band = "lowest\u2013highest", limit = "limit", mean = "mean";
    int right = width() - kMarginRight;
    p.setRenderHint(QPainter::Antialiasing, false);
    auto key = [&](const QString& word, auto mark) {
        right -= m.horizontalAdvance(word);
        p.setPen(chart::kAxisText);
        p.drawText(QPoint(right, mid + m.ascent() / 2 - 1), word);
        right -= 22;
        mark(QRect(right, mid - 5, 16, 10));
        right -= 14;
    };
    key(limit, [&](QRect r) {
        QPen pen(chart::kAxisText, kLimitWidth, Qt::CustomDashLine);
        pen.setDashPattern({kLimitDash, 1.5});
        p.setPen(pen);
        p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
    });
    key(band, [&](QRect r) {
        QColor c = chart::kAxisText;
        c.setAlpha(chart::kBandAlpha * 2);
        p.fillRect(r, c);
    });
    key(mean,
        [&](QRect r) { p.fillRect(r.left(), r.center().y() - 1, r.width(), 2, chart::kAxisText); });
}

void HistoryView::paintChart(QPainter& p, const Chart& c) const {
    const QRectF plot = c.frame.plot;
    const chart::QuantityRow& q = chart::QuantityOf(c.quantity);
    const QFontMetrics m(p.font());
    p.setRenderHint(QPainter::Antialiasing, false);

    // Title, glass, grid, frame and labels.
    p.setPen(chart::kTitleText);
    p.drawText(QPointF(plot.left(), plot.top() - 6), text(q.title) + " (" + text(q.unit) + ")");
    p.fillRect(plot, chart::kPlotBack);
    p.setPen(QPen(chart::kGrid, 1));
    for (const chart::Tick& t : c.picture.valueTicks)
        p.drawLine(QPointF(plot.left(), std::round(t.at)), QPointF(plot.right(), std::round(t.at)));
    for (const chart::Tick& t : c.picture.timeTicks)
        p.drawLine(QPointF(std::round(t.at), plot.top()), QPointF(std::round(t.at), plot.bottom()));
    p.setPen(chart::kAxisText);
    for (const chart::Tick& t : c.picture.valueTicks) {
        const QString label = QString::fromStdString(t.label);
        p.drawText(
            QPointF(plot.left() - 6 - m.horizontalAdvance(label), t.at + m.ascent() / 2.0 - 1),
            label);
    }
    for (const chart::Tick& t : c.picture.timeTicks) {
        const QString label = QString::fromStdString(t.label);
        const double w = m.horizontalAdvance(label);
        const double x = std::clamp(t.at - w / 2, plot.left() - kMarginLeft + 4.0,
                                    plot.right() + kMarginRight - 2 - w);
        p.drawText(QPointF(x, plot.bottom() + 4 + m.ascent()), label);
    }
    p.setPen(QPen(chart::kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));

    // Bands under limits under lines, each kept inside the plot.
    p.save();
    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    for (Channel ch : kAllChannels) {
        QColor band = chart::kSensorColour[ch];
        band.setAlpha(chart::kBandAlpha);
        p.setBrush(band);
        for (const QPolygonF& b : c.picture.series[ch].bands) p.drawPolygon(b);
    }
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);  // level lines: crisp on whole pixels
    for (Channel ch : kAllChannels) {
        QPen pen(chart::kSensorColour[ch], kLimitWidth, Qt::CustomDashLine, Qt::FlatCap);
        pen.setDashPattern({kLimitDash, kLimitSpace});
        pen.setDashOffset(channelIndex(ch) * kLimitDash);
        p.setPen(pen);
        p.drawPolyline(c.picture.series[ch].limit);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    for (Channel ch : kAllChannels) {
        p.setPen(
            QPen(chart::kSensorColour[ch], kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        for (const QPolygonF& l : c.picture.series[ch].lines) p.drawPolyline(l);
    }
    p.restore();
}

void HistoryView::paintPointer(QPainter& p) const {
    if (!pointerX_) return;
    const chart::ChartFrame& frame = charts_[0].frame;
    if (*pointerX_ < frame.plot.left() || *pointerX_ > frame.plot.right()) return;
    const HistoryRow* row = rowUnderPointer();
    const double x = row ? std::round(chart::TimeToX(frame, chart::RowMiddle(*row))) + 0.5
                         : std::round(*pointerX_) + 0.5;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(chart::kCursor, 1));
    for (const Chart& c : charts_)
        p.drawLine(QPointF(x, c.frame.plot.top()), QPointF(x, c.frame.plot.bottom()));

    // A dot on each sensor's mean, then the values beside the time line.
    // The values in a small table: the time over one line per sensor (its name, temperature,
    // fan speed), or the time over "no reading".
    QString title;
    std::vector<QStringList> cells;
    if (row) {
        p.setRenderHint(QPainter::Antialiasing, true);
        for (const Chart& c : charts_)
            for (Channel ch : kAllChannels) {
                const SeriesStats& s = chart::StatsOf(*row, c.quantity, ch);
                if (!s.mean) continue;
                p.setPen(QPen(chart::kCursor, 1));
                p.setBrush(chart::kSensorColour[ch]);
                p.drawEllipse(QPointF(x, chart::ValueToY(c.picture.scale, c.frame.plot, *s.mean)),
                              3.5, 3.5);
            }
        const chart::PointerReadout r = chart::ReadoutOf(*row, utcOffset_);
        title = QString::fromStdString(r.time);
        for (Channel ch : kAllChannels)
            cells.push_back({QString::fromStdString(names_[ch]),
                             QString::fromStdString(r.temperature[ch]),
                             QString::fromStdString(r.fan[ch])});
    } else {
        const auto t = static_cast<int64_t>(chart::XToTime(frame, *pointerX_));
        title = QString::fromStdString(chart::PointerTimeLabel(t, false, utcOffset_));
        cells.push_back({"no reading"});
    }
    p.setFont(textFont(font()));
    const QFontMetrics m(p.font());
    constexpr int kSwatch = 14, kColumnGap = 12;
    std::vector<int> widths;
    for (const QStringList& line : cells)
        for (int i = 0; i < line.size(); ++i) {
            if (static_cast<int>(widths.size()) <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], m.horizontalAdvance(line[i]));
        }
    int tableWidth = row ? kSwatch : 0;
    for (int w : widths) tableWidth += w + kColumnGap;
    tableWidth -= kColumnGap;
    const QSize size(std::max(tableWidth, m.horizontalAdvance(title)) + 2 * kReadoutPad,
                     static_cast<int>(cells.size() + 1) * m.height() + 2 * kReadoutPad);
    int left = static_cast<int>(x) + 10;
    if (left + size.width() > frame.plot.right()) left = static_cast<int>(x) - 10 - size.width();
    const QRect box(QPoint(left, static_cast<int>(frame.plot.top()) + 6), size);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(chart::kFrame, 1));
    p.setBrush(chart::kReadoutBack);
    p.drawRect(box);
    const int textLeft = box.left() + kReadoutPad;
    int baseline = box.top() + kReadoutPad + m.ascent();
    p.setPen(chart::kTitleText);
    p.drawText(QPoint(textLeft, baseline), title);
    p.setPen(chart::kAxisText);
    for (std::size_t line = 0; line < cells.size(); ++line) {
        baseline += m.height();
        int cellLeft = textLeft;
        if (row) {
            p.fillRect(cellLeft, baseline - m.ascent() / 2 - 2, 10, 4,
                       chart::kSensorColour[kAllChannels[line]]);
            cellLeft += kSwatch;
        }
        for (int i = 0; i < cells[line].size(); ++i) {
            // Names to the left, numbers to the right of their columns.
            const int w = m.horizontalAdvance(cells[line][i]);
            p.drawText(QPoint(cellLeft + (i == 0 ? 0 : widths[i] - w), baseline), cells[line][i]);
            cellLeft += widths[i] + kColumnGap;
        }
    }
}

}  // namespace kestrelon
