// SPDX-License-Identifier: GPL-3.0-or-later
// Picture sizes and places from the geometry tables.
#include "tools/skingen/layout.h"

#include "tools/skingen/outline.h"
#include "tools/skingen/shapes.h"
#include "tools/skingen/wing_shape.h"

namespace kestrelon::skingen {

QPoint onWindow(geo::Surface s, geo::Point at) {
    if (s == geo::Surface::Lcd) return QPoint(at.x + geo::kLcdOrigin.x, at.y + geo::kLcdOrigin.y);
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
    Channel channel;
    geo::Control control;
};
constexpr IconControl kIconControls[] = {
    {geo::IconRow::Sensor, Channel::Cpu, geo::Control::SensorCpu},
    {geo::IconRow::Sensor, Channel::Hdd, geo::Control::SensorHdd},
    {geo::IconRow::Sensor, Channel::Vga, geo::Control::SensorVga},
    {geo::IconRow::Sensor, Channel::Case, geo::Control::SensorCase},
    {geo::IconRow::Fan, Channel::Cpu, geo::Control::FanIconCpu},
    {geo::IconRow::Fan, Channel::Hdd, geo::Control::FanIconHdd},
    {geo::IconRow::Fan, Channel::Vga, geo::Control::FanIconVga},
    {geo::IconRow::Fan, Channel::Case, geo::Control::FanIconCase},
    {geo::IconRow::Threshold, Channel::Cpu, geo::Control::LimitIconCpu},
    {geo::IconRow::Threshold, Channel::Hdd, geo::Control::LimitIconHdd},
    {geo::IconRow::Threshold, Channel::Vga, geo::Control::LimitIconVga},
    {geo::IconRow::Threshold, Channel::Case, geo::Control::LimitIconCase},
};

}  // namespace

geo::Control iconControl(const geo::Icon& icon) {
    for (const IconControl& c : kIconControls)
        if (c.row == icon.row && c.channel == icon.channel) return c.control;
    return geo::Control::ResetSpot;
}

std::string_view channelWord(Channel channel) {
    constexpr std::string_view words[] = {"CPU", "HDD", "VGA", "CASE"};
    return words[channelIndex(channel)];
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
