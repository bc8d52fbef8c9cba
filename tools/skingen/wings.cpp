// SPDX-License-Identifier: GPL-3.0-or-later
// Wings, corner buttons and the hub.
#include "tools/skingen/wings.h"

#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "tools/skingen/caption_font.h"
#include "tools/skingen/layout.h"
#include "tools/skingen/mask.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/shading.h"
#include "tools/skingen/shapes.h"
#include "tools/skingen/wing_shape.h"

namespace kestrelon::skingen {

namespace {

// What each wing hides, lit on a nameplate.
struct WingLabel {
    geo::WingId id;
    std::string_view text;
};
constexpr WingLabel kWingLabels[] = {
    {geo::WingId::UpperLeft, "ALARM"},
    {geo::WingId::LowerLeft, "FANS"},
    {geo::WingId::UpperRight, "VOLUME"},
    {geo::WingId::LowerRight, "LIMITS"},
};

std::string_view wingLabel(geo::WingId id) {
    for (const WingLabel& l : kWingLabels)
        if (l.id == id) return l.text;
    return {};
}

// Black outside the shape in the picture; mask white outside, black inside.
Sprite finish(QImage picture, const Mask& shape) {
    QImage mask(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool in = shape.at(x, y);
            mask.setPixel(x, y, in ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            if (!in) picture.setPixel(x, y, qRgb(0, 0, 0));
        }
    return {picture, mask};
}

// A small window of display glass set into the wing, the wing's name lit in it.
void drawNameplate(QImage& img, QPoint centre, std::string_view name) {
    const QRect box = captionRect(centre, name).adjusted(-6, -4, 6, 4);
    QPainterPath window;
    window.addRoundedRect(pixelArea(box), 3, 3);
    const Mask glass = Mask::fromPath(window, img.width(), img.height());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const QRgb shade =
            mixed(kGlassTop, kGlassBottom, float(y - box.top()) / box.height()).rgb();
        for (int x = box.left(); x <= box.right(); ++x)
            if (glass.at(x, y)) img.setPixel(x, y, shade);
    }
    applyBevel(img, glass.grown(1), {1.5f, 0.3f, 0.5f, true});
    applyOutline(img, glass, kOutline, 1.0f);
    paintLitCaption(img, centre, name, kGlow, kOutline);
}

// Chevron pointing along (dx, dy), centred at c.
void chevron(QPainter& p, QPointF c, int dx, int dy, qreal size, const QColor& colour,
             qreal width) {
    const QPointF dir(dx / std::sqrt(2.0), dy / std::sqrt(2.0));
    const QPointF side(-dir.y(), dir.x());
    const QPointF tip = c + dir * size * 0.6;
    const QPointF back = c + dir * size * 0.05;
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF v;
    v << back + side * size * 0.5 << tip << back - side * size * 0.5;
    p.drawPolyline(v);
    p.drawLine(tip, c - dir * size * 0.55);  // the shaft
}

}  // namespace

Sprite drawWing(const geo::Wing& wing) {
    const geo::Size s = wingSize(wing.id);
    const QPainterPath outline = wingOutline(wing, QPointF(0, 0));
    const Mask shape = Mask::fromPath(outline, s.w, s.h);
    QImage img(s.w, s.h, QImage::Format_RGB32);
    img.fill(Qt::black);
    fillBrushed(img, shape, {kWingMetal, 6, 0.22f, 20 + std::uint64_t(wing.id)});

    // A raised inner plate, a step below the rim, its name plate in the middle.
    const int left = wing.openStep.x < 0, up = wing.openStep.y < 0;
    const Mask plate = shape.grown(-7);
    applyBevel(img, plate, {2, 0.22f, 0.3f, true});
    // Grip slots parallel to the outer corner's diagonal, beside the button.
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF corner(left ? 0 : s.w, up ? 0 : s.h);
    const QPointF inward(left ? 1 : -1, up ? 1 : -1);
    for (int i = 0; i < 4; ++i) {
        const qreal d = 40 + i * 6;
        const QPointF a = corner + QPointF(inward.x() * d, 0) + QPointF(0, inward.y() * 10);
        const QPointF b = corner + QPointF(0, inward.y() * d) + QPointF(inward.x() * 10, 0);
        p.setPen(QPen(shaded(kWingMetal, 0.28f), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a + QPointF(0.6, 0.9), b + QPointF(0.6, 0.9));
        p.setPen(QPen(kEngraveDark, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
    }
    p.end();
    drawNameplate(img, QPoint(s.w / 2, s.h / 2), wingLabel(wing.id));
    applyBevel(img, shape, {4, 0.5f, 0.6f, false});
    applyOutline(img, shape, kOutline, 0.9f);
    return finish(img, shape);
}

Sprite drawWingButton(const geo::Wing& wing) {
    const QSize s = kWingButtonSize;
    const QPointF c(s.width() / 2.0, s.height() / 2.0);
    const qreal r = s.width() / 2.0 - 0.2;
    QPainterPath circle;
    circle.addEllipse(c, r, r);
    const Mask shape = Mask::fromPath(circle, s.width(), s.height());
    QImage img(s, QImage::Format_RGB32);
    img.fill(Qt::black);
    fillSpun(img, shape, c, {kHubMetal, 7, 0.25f, 30});
    applyBevel(img, shape, {2.5f, 0.55f, 0.65f, false});
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient well(c, r * 0.62);
        well.setColorAt(0, QColor(14, 22, 28));
        well.setColorAt(1, QColor(6, 9, 12));
        p.setPen(QPen(shaded(kHubMetal, -0.5f), 1));
        p.setBrush(well);
        p.drawEllipse(c, r * 0.62, r * 0.62);
        const int dx = wing.openStep.x < 0 ? -1 : 1, dy = wing.openStep.y < 0 ? -1 : 1;
        chevron(p, c, dx, dy, r * 0.95, kGlowDim, 3.2);
        chevron(p, c, dx, dy, r * 0.95, kGlow, 1.6);
    }
    applyOutline(img, shape, kOutline, 0.9f);
    return finish(img, shape);
}

Sprite drawCentre() {
    const QSize s = kCentreSize;
    const QPointF c = hubCentre() - QPointF(geo::kCentreAt.x, geo::kCentreAt.y);
    QPainterPath circle;
    circle.addEllipse(c, kHubRadius, kHubRadius);
    const Mask shape = Mask::fromPath(circle, s.width(), s.height());
    QImage img(s, QImage::Format_RGB32);
    img.fill(Qt::black);
    fillSpun(img, shape, c, {kHubMetal, 8, 0.3f, 31});
    applyBevel(img, shape, {3.5f, 0.55f, 0.65f, false});
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        // A sunken ring, then a dark lens with a cyan ring of light.
        p.setPen(QPen(kEngraveDark, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, kHubRadius - 5.5, kHubRadius - 5.5);
        p.setPen(QPen(shaded(kHubMetal, 0.3f), 1));
        p.drawEllipse(c + QPointF(0.4, 0.6), kHubRadius - 5.5, kHubRadius - 5.5);
        QRadialGradient lens(c - QPointF(2, 2.5), 9);
        lens.setColorAt(0, QColor(24, 40, 48));
        lens.setColorAt(1, QColor(4, 8, 10));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(lens);
        p.drawEllipse(c, 7.5, 7.5);
        p.setPen(QPen(kGlowDim, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 4.5, 4.5);
        p.setPen(QPen(kGlow, 1));
        p.drawEllipse(c, 4.5, 4.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 245, 255));
        p.drawEllipse(c - QPointF(3.2, 3.4), 0.9, 0.9);
    }
    applyOutline(img, shape, kOutline, 0.9f);
    return finish(img, shape);
}

void blitSprite(QImage& target, const Sprite& s, QPoint at) {
    for (int y = 0; y < s.picture.height(); ++y)
        for (int x = 0; x < s.picture.width(); ++x) {
            const int tx = at.x() + x, ty = at.y() + y;
            if (tx < 0 || ty < 0 || tx >= target.width() || ty >= target.height()) continue;
            const QRgb bg = target.pixel(tx, ty);
            const QRgb m = s.mask.pixel(x, y), pic = s.picture.pixel(x, y);
            target.setPixel(tx, ty, ((bg & m) | pic) | 0xff000000u);
        }
}

}  // namespace kestrelon::skingen
