// SPDX-License-Identifier: GPL-3.0-or-later
// Path helpers for the skin's shapes: rectangles from the geometry tables and rounded outlines.
#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRect>

#include "skin/geometry.h"

namespace kestrelon::skingen {

// An inclusive area of the geometry tables as a pixel rectangle.
inline QRect toRect(const geo::Area& a) {
    return QRect(a.x0, a.y0, a.x1 - a.x0 + 1, a.y1 - a.y0 + 1);
}
inline QRect toRect(const geo::Block& b) {
    return QRect(b.x, b.y, b.w, b.h);
}
inline QRect toRect(geo::Point at, geo::Size size) {
    return QRect(at.x, at.y, size.w, size.h);
}

// The same rectangle moved from window coordinates into the LCD picture.
inline QRect onLcd(const QRect& windowRect) {
    return windowRect.translated(-geo::kLcdOrigin.x, -geo::kLcdOrigin.y);
}

// Rectangle covering whole pixels [left, right] x [top, bottom], as a path area.
inline QRectF pixelArea(const QRect& r) {
    return QRectF(r.left(), r.top(), r.width(), r.height());
}

// Rectangle with its own radius at each corner (top-left, top-right, bottom-right, bottom-left).
QPainterPath roundedRect(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl);

// The kestrel in flight of the badge and the icon: wings spread, centred on `centre`, 52 x 22 units
// of `scale` pixels.
QPainterPath kestrelSilhouette(QPointF centre, qreal scale);

// Convex hull of a set of points as a closed path.
QPainterPath convexHull(std::initializer_list<QPointF> points);

}  // namespace kestrelon::skingen
