// SPDX-License-Identifier: GPL-3.0-or-later
// Wing sizes and outlines.
#include "tools/skingen/wing_shape.h"

#include "tools/skingen/shapes.h"

namespace kestrelon::skingen {

namespace {

constexpr qreal kOuterRadius = 18;
constexpr qreal kSideRadius = 5;

struct WingSize {
    geo::WingId id;
    geo::Size size;
};
// Closed rectangles end one seam short of the middle; open ones end inside their screen block
// (the right-hand ones at x = 419, the last column the composition copies).
constexpr WingSize kWingSizes[] = {
    {geo::WingId::UpperLeft, {118, 118}},
    {geo::WingId::LowerLeft, {117, 117}},
    {geo::WingId::UpperRight, {107, 119}},
    {geo::WingId::LowerRight, {108, 117}},
};

}  // namespace

geo::Size wingSize(geo::WingId id) {
    for (const WingSize& w : kWingSizes)
        if (w.id == id) return w.size;
    return {0, 0};
}

QRect wingRect(const geo::Wing& wing, bool open) {
    const geo::Point at = open ? wing.open : wing.closed;
    return toRect(at, wingSize(wing.id));
}

QPainterPath wingOutline(const geo::Wing& wing, QPointF origin) {
    const geo::Size s = wingSize(wing.id);
    const bool left = wing.openStep.x < 0, up = wing.openStep.y < 0;
    auto radius = [&](bool cornerLeft, bool cornerUp) {
        if (cornerLeft == left && cornerUp == up) return kOuterRadius;
        if (cornerLeft != left && cornerUp != up) return qreal(0);
        return kSideRadius;
    };
    return roundedRect(QRectF(origin, QSizeF(s.w, s.h)), radius(true, true), radius(false, true),
                       radius(false, false), radius(true, false));
}

QRect lcdQuadrant(const geo::Wing& wing) {
    const QRect closed = wingRect(wing, false);
    const QRect lcd = toRect(geo::kLcdOrigin, geo::kLcd);
    return closed.intersected(lcd);
}

}  // namespace kestrelon::skingen
