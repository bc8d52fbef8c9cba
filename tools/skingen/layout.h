// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes and places of the skin's separate pictures, derived from the geometry tables: readout
// panels from their rightmost character, icons and buttons from their click rectangles.
#pragma once

#include <QRect>
#include <string_view>

#include "skin/geometry.h"

namespace kestrelon::skingen {

// Window position of a point on a surface.
QPoint onWindow(geo::Surface s, geo::Point at);

// A small-font readout panel holding at least four characters ending at `rightmost`.
QSize readoutSize(geo::Point rightmost);
QSize clockPanelSize();  // five medium characters
QSize alarmPanelSize();  // five big characters

// The control clicked at an icon, its channel's word ("CPU", "HDD", "VGA", "CASE").
geo::Control iconControl(const geo::Icon& icon);
std::string_view channelWord(Channel channel);

// A picture whose top-left corner sits at `windowAt` and which reaches the far corner of the
// control's click rectangle.
QSize sizeToClickCorner(QPoint windowAt, geo::Control control);
QSize iconSize(const geo::Icon& icon);

// Pictures whose size no table fixes.
inline constexpr QSize kUnitSize{12, 9};
inline constexpr QSize kLampSize{9, 9};
inline constexpr QSize kWingButtonSize{16, 16};  // fits the smallest click rectangle
inline constexpr QSize kCentreSize{44, 42};
inline constexpr QSize kVolumeSize{46, 84};
inline constexpr QSize kResetSize{40, 16};
// Centre of the hub: over the crossing of the seams between the closed wings.
QPointF hubCentre();
inline constexpr qreal kHubRadius = 17.5;

}  // namespace kestrelon::skingen
