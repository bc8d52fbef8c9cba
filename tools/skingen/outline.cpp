// SPDX-License-Identifier: GPL-3.0-or-later
// The window's outline: an X of four wing lobes around the LCD bay, a tab at the left, the web
// link key bridging to the side panel, and the side panel with its two grab ears.
#include "tools/skingen/outline.h"

#include <QPainterPath>
#include <algorithm>
#include <climits>

#include "tools/skingen/shapes.h"
#include "tools/skingen/wing_shape.h"

namespace kestrelon::skingen {

namespace {

constexpr int kW = geo::kWindow.w, kH = geo::kWindow.h;
constexpr int kLobeMargin = 8;    // metal around a parked wing
constexpr int kDockGap = 2;       // dark seat around a parked wing
constexpr int kBayMargin = 3;     // sunken bay around the closed wings
constexpr int kPlateMargin = 10;  // raised rim around the bay
constexpr int kEarMargin = 5;     // ear beyond the grab area
constexpr int kEarGroove = 5;     // groove between ear and body
constexpr int kSideInset = 11;    // body's right edge left of the ears' tips

QRect unitedRect(std::initializer_list<QRect> rects) {
    QRect r;
    for (const QRect& q : rects) r = r.united(q);
    return r;
}

QRect closedBlock() {
    QRect r;
    for (const auto& w : geo::kWings) r = r.united(wingRect(w, false));
    return r;
}

// A lobe: the hull of the wing's open and closed places, with margin.
QPainterPath lobe(const geo::Wing& wing) {
    const QRectF a = pixelArea(
        wingRect(wing, true).adjusted(-kLobeMargin, -kLobeMargin, kLobeMargin, kLobeMargin));
    const QRectF b = pixelArea(
        wingRect(wing, false).adjusted(-kLobeMargin, -kLobeMargin, kLobeMargin, kLobeMargin));
    QPainterPath hull = convexHull({a.topLeft(), a.topRight(), a.bottomLeft(), a.bottomRight(),
                                    b.topLeft(), b.topRight(), b.bottomLeft(), b.bottomRight()});
    QPainterPath dock;
    dock.addRoundedRect(a, 22, 22);
    return hull.united(dock);
}

// Smallest x - y (upper ear) or x + y (lower ear) of any grab-area pixel.
int grabLine(bool upper) {
    int best = INT_MAX;
    for (int y = 0; y < kH; ++y)
        for (int x = geo::kSidePanelX; x < kW; ++x) {
            const float fx = float(x), fy = float(y);
            if (upper && geo::inUpperGrabArea(fx, fy)) best = std::min(best, x - y);
            if (!upper && geo::inLowerGrabArea(fx, fy)) best = std::min(best, x + y);
        }
    return best;
}

// Pixels on the far side of a diagonal line: x - y >= c (upper) or x + y >= c (lower).
Mask halfPlane(bool upper, int c) {
    Mask m(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = geo::kSidePanelX; x < kW; ++x) m.set(x, y, upper ? x - y >= c : x + y >= c);
    return m;
}

Mask rectMask(const QRect& r) {
    Mask m(kW, kH);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) m.set(x, y, true);
    return m;
}

Outline build() {
    Outline o;

    // Left part: plate, lobes and the two tabs.
    const QRect bay = closedBlock().adjusted(-kBayMargin, -kBayMargin, kBayMargin, kBayMargin);
    QPainterPath left;
    left.addRoundedRect(
        pixelArea(bay.adjusted(-kPlateMargin, -kPlateMargin, kPlateMargin, kPlateMargin)), 16, 16);
    for (const auto& w : geo::kWings) left = left.united(lobe(w));

    const QRect buttons =
        unitedRect({controlRect(geo::Control::Minimise), controlRect(geo::Control::Close),
                    controlRect(geo::Control::ResetSpot)});
    const QRect tab = buttons.adjusted(-9, -11, 24, 11);
    QPainterPath tabPath;
    tabPath.addRoundedRect(pixelArea(tab), tab.height() / 2.0, tab.height() / 2.0);
    o.leftTab = Mask::fromPath(tabPath, kW, kH);
    left = left.united(tabPath);

    QPainterPath web;
    for (const auto& c : geo::kClickAreas)
        if (c.control == geo::Control::WebLink) {
            QRect r = toRect(c.area).adjusted(-2, -2, 0, 2);
            r.setRight(geo::kSidePanelX + 4);
            QPainterPath part;
            part.addRoundedRect(pixelArea(r), 6, 6);
            web = web.united(part);
        }
    o.webTab = Mask::fromPath(web, kW, kH);
    left = left.united(web);

    Mask leftMask = Mask::fromPath(left, kW, kH).opened(6);

    // Side panel: a slab with chamfered right-hand corners and a grab ear beyond each chamfer.
    const int upperLine = grabLine(true) - kEarMargin;
    const int lowerLine = grabLine(false) - kEarMargin;
    QPainterPath body = roundedRect(
        QRectF(geo::kSidePanelX, 0, kW - kSideInset - geo::kSidePanelX, kH), 14, 0, 0, 14);
    o.sidePanel = Mask::fromPath(body, kW, kH)
                      .subtracted(halfPlane(true, upperLine - kEarGroove))
                      .subtracted(halfPlane(false, lowerLine - kEarGroove));
    for (int i = 0; i < 2; ++i) {
        const bool upper = i == 0;
        const int line = upper ? upperLine : lowerLine;
        o.ears[i] = halfPlane(upper, line);
        o.earGrooves[i] = halfPlane(upper, line - kEarGroove).subtracted(o.ears[i]);
        o.sidePanel = o.sidePanel.united(o.ears[i]).united(o.earGrooves[i]);
    }
    o.shape = leftMask.united(o.sidePanel).closed(10);

    // Sunken parts: the bay under the closed wings and a dock where each open wing parks.
    QPainterPath recess;
    recess.addRoundedRect(pixelArea(bay), 8, 8);
    for (std::size_t i = 0; i < geo::kWings.size(); ++i) {
        const auto& w = geo::kWings[i];
        const QRect open = wingRect(w, true);
        o.docks[i] = Mask::fromPath(wingOutline(w, open.topLeft()), kW, kH).grown(kDockGap);
        recess = recess.united(wingOutline(w, open.topLeft()));
    }
    // Only the block left of the side panel is composed: nothing sunken reaches past it.
    const Mask composed = rectMask(QRect(0, 0, geo::kSidePanelX, geo::kComposedBlock.h));
    o.recess = Mask::fromPath(recess, kW, kH).grown(kDockGap).intersected(composed);
    for (auto& d : o.docks) d = d.subtracted(rectMask(bay)).intersected(composed);
    return o;
}

}  // namespace

QRect controlRect(geo::Control control) {
    for (const auto& c : geo::kClickAreas)
        if (c.control == control) return toRect(c.area);
    return {};
}

const Outline& windowOutline() {
    static const Outline outline = build();
    return outline;
}

}  // namespace kestrelon::skingen
