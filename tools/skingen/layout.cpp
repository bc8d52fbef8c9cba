// SPDX-License-Identifier: GPL-3.0-or-later
// Picture sizes and places from the geometry tables.
#include "tools/skingen/layout.h"

#include "tools/skingen/outline.h"
#include "tools/skingen/shapes.h"
#include "tools/skingen/wing_shape.h"

namespace kestrelon::skingen {

QPoint onWindow(geo::Surface s, geo::Point at) {
    if (s == geo::Surface::Blcd) return QPoint(at.x + geo::kLcdOrigin.x, at.y + geo::kLcdOrigin.y);
    return QPoint(at.x, at.y);
}

QSize readoutSize(geo::Point rightmost) {
    const auto& f = geo::kSmallFont;
    return QSize(rightmost.x + f.cell.w + 1, rightmost.y + f.cell.h + 1);
}

QSize clockPanelSize() {
    const auto& f = geo::kMediumFont;
    return QSize(4 * f.advance + f.cell.w, f.cell.h);
}

QSize alarmPanelSize() {
    const auto& f = geo::kBigFont;
    return QSize(4 * f.advance + f.cell.w, f.cell.h);
}

namespace {

struct IconControl {
    geo::IconRow row;
    int channel;
    geo::Control control;
};
constexpr IconControl kIconControls[] = {
    {geo::IconRow::Sensor, 1, geo::Control::SensorCpu},
    {geo::IconRow::Sensor, 2, geo::Control::SensorHdd},
    {geo::IconRow::Sensor, 3, geo::Control::SensorVga},
    {geo::IconRow::Sensor, 4, geo::Control::SensorCase},
    {geo::IconRow::Fan, 1, geo::Control::FanIconCpu},
    {geo::IconRow::Fan, 2, geo::Control::FanIconHdd},
    {geo::IconRow::Fan, 3, geo::Control::FanIconVga},
    {geo::IconRow::Fan, 4, geo::Control::FanIconCase},
    {geo::IconRow::Threshold, 1, geo::Control::LimitIconCpu},
    {geo::IconRow::Threshold, 2, geo::Control::LimitIconHdd},
    {geo::IconRow::Threshold, 3, geo::Control::LimitIconVga},
    {geo::IconRow::Threshold, 4, geo::Control::LimitIconCase},
};

}  // namespace

geo::Control iconControl(const geo::Icon& icon) {
    for (const IconControl& c : kIconControls)
        if (c.row == icon.row && c.channel == icon.channel) return c.control;
    return geo::Control::ResetSpot;
}

std::string_view channelWord(int channel) {
    constexpr std::string_view words[] = {"", "CPU", "HDD", "VGA", "CASE"};
    return channel >= 1 && channel <= 4 ? words[channel] : "";
}

QSize sizeToClickCorner(QPoint windowAt, geo::Control control) {
    const QRect r = controlRect(control);
    return QSize(r.right() - windowAt.x() + 1, r.bottom() - windowAt.y() + 1);
}

QSize iconSize(const geo::Icon& icon) {
    return sizeToClickCorner(onWindow(icon.target, icon.at), iconControl(icon));
}

QPointF hubCentre() {
    // Seams: between the left and right wings' closed rectangles, and between upper and lower.
    const QRect ul = wingRect(geo::kWings[0], false), lr = wingRect(geo::kWings[3], false);
    return QPointF((ul.right() + 1 + lr.left()) / 2.0, (ul.bottom() + 1 + lr.top()) / 2.0);
}

}  // namespace kestrelon::skingen
