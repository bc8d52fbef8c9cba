// SPDX-License-Identifier: GPL-3.0-or-later
// The history window's frame: range buttons, the charts, the refresh while shown.
#include "app/history_window.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/chart_palette.h"

namespace kestrelon {

namespace {

constexpr QSize kFirstSize{900, 620};

QString rgb(const QColor& c) {
    return QString("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// The buttons and labels in the skin's colours: glow on glass, lit when chosen.
QString windowStyleSheet() {
    using namespace chart;
    return QString(
               "QWidget#history { background: %1; }"
               "QLabel { color: %2; }"
               "QPushButton { color: %2; background: %3; border: 1px solid %4;"
               " padding: 3px 12px; min-width: 3em; }"
               "QPushButton:checked { color: %3; background: %5; border-color: %5; }"
               "QPushButton:focus { border-color: %2; }")
        .arg(rgb(kWindowBack), rgb(kAxisText), rgb(kPlotBack), rgb(kFrame), rgb(kTitleText));
}

}  // namespace

WallClock SystemWallClock() {
    return {[] { return QDateTime::currentSecsSinceEpoch(); },
            [](int64_t utc) { return QDateTime::fromSecsSinceEpoch(utc).offsetFromUtc(); }};
}

HistoryWindow::HistoryWindow(Source source, const Options& options, WallClock clock)
    : QWidget(nullptr, Qt::Window),
      source_(std::move(source)),
      clock_(std::move(clock)),
      view_(options.sensorName, this) {
    setObjectName("history");
    setWindowTitle("Kestrelon \u2014 History");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(windowStyleSheet());
    resize(kFirstSize);

    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(new QLabel("Show the last", this));
    for (const chart::RangeRow& r : chart::kRanges) {
        auto* button = new QPushButton(QString::fromUtf8(r.label.data(), r.label.size()), this);
        button->setCheckable(true);
        button->setChecked(r.range == range_);
        rangeButtons_.addButton(button, static_cast<int>(r.range));
    }
    for (QAbstractButton* b : rangeButtons_.buttons()) bar->addWidget(b);
    rangeButtons_.setExclusive(true);
    QObject::connect(&rangeButtons_, &QButtonGroup::idClicked,
                     [this](int id) { setRange(static_cast<chart::Range>(id)); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addLayout(bar);
    column->addWidget(&view_, 1);

    QObject::connect(&timer_, &QTimer::timeout, [this] { refresh(); });
}

void HistoryWindow::showAndRaise() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HistoryWindow::setRange(chart::Range range) {
    range_ = range;
    if (QAbstractButton* b = rangeButtons_.button(static_cast<int>(range))) b->setChecked(true);
    timer_.setInterval(chart::RangeOf(range).refreshMs);
    if (isVisible()) {
        refresh();
        timer_.start();
    }
}

void HistoryWindow::refresh() {
    const int64_t to = clock_.nowUtc();
    const int64_t from = to - chart::RangeOf(range_).seconds;
    view_.setRows(source_(from, to), from, to, clock_.utcOffset(to), range_);
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_.setInterval(chart::RangeOf(range_).refreshMs);
    refresh();
    if (!timer_.isActive()) timer_.start();
}

void HistoryWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
    // Hidden, the window holds no rows: they are read again when it shows.
    view_.setRows({}, 0, 0, 0, range_);
}

}  // namespace kestrelon
