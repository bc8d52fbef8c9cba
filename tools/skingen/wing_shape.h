// SPDX-License-Identifier: GPL-3.0-or-later
// The wings' own sizes and outlines: each covers its LCD quadrant when closed and stays inside its
// screen block closed and open. The outline, the docks and the wing pictures all use these.
#pragma once

#include <QPainterPath>
#include <QRect>

#include "skin/geometry.h"

namespace kestrelon::skingen {

geo::Size wingSize(geo::WingId id);

// The wing picture's rectangle on the window at its closed or open place.
QRect wingRect(const geo::Wing& wing, bool open);

// The wing's outline with its top-left corner at `origin`: a plate whose outer corner (the one it
// slides towards) is well rounded, the corners beside it slightly, the inner corner square.
QPainterPath wingOutline(const geo::Wing& wing, QPointF origin);

// The LCD quadrant a closed wing covers, on the window (between the seams of the cross).
QRect lcdQuadrant(const geo::Wing& wing);

}  // namespace kestrelon::skingen
