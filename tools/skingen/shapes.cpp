// SPDX-License-Identifier: GPL-3.0-or-later
// Rounded rectangles, the kestrel silhouette and convex hulls as painter paths.
#include "tools/skingen/shapes.h"

#include <QPolygonF>
#include <algorithm>
#include <vector>

namespace kestrelon::skingen {

QPainterPath roundedRect(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl) {
    QPainterPath p;
    p.moveTo(r.left() + tl, r.top());
    p.lineTo(r.right() - tr, r.top());
    if (tr > 0) p.arcTo(r.right() - 2 * tr, r.top(), 2 * tr, 2 * tr, 90, -90);
    p.lineTo(r.right(), r.bottom() - br);
    if (br > 0) p.arcTo(r.right() - 2 * br, r.bottom() - 2 * br, 2 * br, 2 * br, 0, -90);
    p.lineTo(r.left() + bl, r.bottom());
    if (bl > 0) p.arcTo(r.left(), r.bottom() - 2 * bl, 2 * bl, 2 * bl, 270, -90);
    p.lineTo(r.left(), r.top() + tl);
    if (tl > 0) p.arcTo(r.left(), r.top(), 2 * tl, 2 * tl, 180, -90);
    p.closeSubpath();
    return p;
}

QPainterPath kestrelSilhouette(QPointF centre, qreal scale) {
    auto at = [&](qreal x, qreal y) { return centre + QPointF(x, y) * scale; };
    QPainterPath bird;
    bird.moveTo(at(-26, -4));
    bird.quadTo(at(-12, -10), at(-3, -1));
    bird.lineTo(at(0, -6));
    bird.lineTo(at(3, -1));
    bird.quadTo(at(12, -10), at(26, -4));
    bird.quadTo(at(12, -2), at(4, 4));
    bird.lineTo(at(2, 12));
    bird.lineTo(at(0, 10));
    bird.lineTo(at(-2, 12));
    bird.lineTo(at(-4, 4));
    bird.quadTo(at(-12, -2), at(-26, -4));
    return bird;
}

QPainterPath convexHull(std::initializer_list<QPointF> points) {
    std::vector<QPointF> pts(points);
    std::sort(pts.begin(), pts.end(), [](const QPointF& a, const QPointF& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    auto cross = [](const QPointF& o, const QPointF& a, const QPointF& b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> hull(2 * pts.size());
    std::size_t k = 0;
    for (const QPointF& p : pts) {  // lower chain
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
        hull[k++] = p;
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {  // upper chain
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    hull.resize(k > 0 ? k - 1 : 0);
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(hull.begin(), hull.end())));
    path.closeSubpath();
    return path;
}

}  // namespace kestrelon::skingen
