// SPDX-License-Identifier: GPL-3.0-or-later
// The icon from 32 pixels up, laid out on a 32-unit grid whose lines fall on whole pixels, so
// every edge stays sharp; the smaller sizes come from the hand-drawn pixel art.
#include "tools/skingen/app_icon.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "tools/skingen/mask.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/shading.h"
#include "tools/skingen/shapes.h"

namespace kestrelon::skingen {

namespace {

// Positions on the 32-unit grid, rounded to pixels once for the size at hand.
class Grid {
public:
    explicit Grid(int size) : unit_(size / 32.0) {}
    qreal unit() const { return unit_; }
    int at(qreal units) const { return int(std::lround(units * unit_)); }
    // At least one pixel, so fine lines survive the smaller sizes.
    int span(qreal units) const { return std::max(1, at(units)); }
    QRect rect(qreal x0, qreal y0, qreal x1, qreal y1) const {
        return QRect(QPoint(at(x0), at(y0)), QPoint(at(x1) - 1, at(y1) - 1));
    }

private:
    qreal unit_;
};

constexpr qreal kDigitX[] = {6, 14};  // two digit cells 7 x 10, then the degree sign
constexpr qreal kDigitY = 8, kDigitW = 7, kDigitH = 10;
constexpr QPointF kDegreeCentre{24, 10};
constexpr qreal kDegreeRadius = 2;
constexpr std::string_view kReading = "42";

void fillMask(QImage& img, const Mask& m, const QColor& c) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (m.at(x, y)) img.setPixel(x, y, c.rgb());
}

Mask rectMask(const QRect& r, int size) {
    Mask m(size, size);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) m.set(x, y, true);
    return m;
}

// Segments a..g of a digit cell as whole-pixel bars of thickness `t`, sharing their corners.
std::vector<QRect> segments(const QRect& cell, int t) {
    const int x = cell.left(), y = cell.top(), w = cell.width(), h = cell.height();
    const int mid = y + (h - t) / 2;
    return {
        QRect(x, y, w, t),                      // a
        QRect(x + w - t, y, t, mid + t - y),    // b
        QRect(x + w - t, mid, t, y + h - mid),  // c
        QRect(x, y + h - t, w, t),              // d
        QRect(x, mid, t, y + h - mid),          // e
        QRect(x, y, t, mid + t - y),            // f
        QRect(x, mid, w, t),                    // g
    };
}

// The degree sign: a square ring on the pixel grid while small, round from 64 pixels up.
Mask degreeSign(const Grid& g, int n) {
    const QPointF c = kDegreeCentre * g.unit();
    const qreal r = kDegreeRadius * g.unit();
    if (n < 64) {
        const QRect box(QPoint(g.at(kDegreeCentre.x() - kDegreeRadius),
                               g.at(kDegreeCentre.y() - kDegreeRadius)),
                        QPoint(g.at(kDegreeCentre.x() + kDegreeRadius) - 1,
                               g.at(kDegreeCentre.y() + kDegreeRadius) - 1));
        const int t = g.span(1);
        return rectMask(box, n).subtracted(rectMask(box.adjusted(t, t, -t, -t), n));
    }
    QPainterPath ring;
    ring.addEllipse(c, r, r);
    ring.addEllipse(c, r - g.unit(), r - g.unit());  // odd-even fill: the hole
    return Mask::fromPath(ring, n, n);
}

std::string_view litSegments(char digit) {
    constexpr std::string_view lit[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                        "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    return digit >= '0' && digit <= '9' ? lit[digit - '0'] : "";
}

// The reading and its degree sign, lit over the unlit segments; a soft glow round what is lit
// from 48 pixels up.
void drawDisplay(QImage& img, const Grid& g) {
    const int n = img.width();
    const int t = g.span(n < 64 ? 2 : 1.5);
    Mask lit(n, n), unlit(n, n);
    for (std::size_t i = 0; i < kReading.size(); ++i) {
        const QRect cell = g.rect(kDigitX[i], kDigitY, kDigitX[i] + kDigitW, kDigitY + kDigitH);
        const std::vector<QRect> segs = segments(cell, t);
        for (std::size_t s = 0; s < segs.size(); ++s) {
            const bool on = litSegments(kReading[i]).find(char('a' + s)) != std::string_view::npos;
            Mask& m = on ? lit : unlit;
            m = m.united(rectMask(segs[s], n));
        }
    }
    lit = lit.united(degreeSign(g, n));
    fillMask(img, unlit, shaded(kGhost, 0.06f));
    if (n >= 48) {
        const Mask halo = lit.grown(float(g.unit() * 0.9)).subtracted(lit).subtracted(unlit);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                if (halo.at(x, y))
                    img.setPixel(x, y, mixed(QColor(img.pixel(x, y)), kGlowDim, 0.4f).rgb());
    }
    fillMask(img, lit, kGlow);
}

void drawGlass(QImage& img, const Grid& g) {
    const int n = img.width();
    const QRect glass = g.rect(3, 6, 29, 20);
    QPainterPath path;
    path.addRoundedRect(pixelArea(glass), 1.5 * g.unit(), 1.5 * g.unit());
    const Mask pane = Mask::fromPath(path, n, n);
    const Mask bezel = pane.grown(float(g.unit()));
    fillBrushed(img, bezel.subtracted(pane), {shaded(kWingMetal, -0.4f), 3, 0, 42});
    applyBevel(img, bezel, {float(g.unit()), 0.35f, 0.5f, true});
    for (int y = glass.top(); y <= glass.bottom(); ++y) {
        const QRgb c =
            mixed(kGlassTop, kGlassBottom, float(y - glass.top()) / glass.height()).rgb();
        for (int x = glass.left(); x <= glass.right(); ++x)
            if (pane.at(x, y)) img.setPixel(x, y, c);
    }
    applyInnerShadow(img, pane, float(2 * g.unit()), 0.5f);
    applyOutline(img, pane, kOutline, 1.0f);
    drawDisplay(img, g);
}

// Vents, the kestrel from 64 pixels up, and the lamp, on the strip below the display.
void drawStrip(QImage& img, const Grid& g) {
    const int n = img.width();
    const bool bird = n >= 64;
    QPainter p(&img);
    const std::vector<qreal> vents =
        bird ? std::vector<qreal>{17, 19, 21} : std::vector<qreal>{5, 7, 9, 11, 13};
    for (qreal x : vents) {
        const QRect slot(g.at(x), g.at(22.5), g.span(1), g.at(26) - g.at(22.5));
        p.fillRect(slot.translated(0, 1), shaded(kWingMetal, 0.3f));
        p.fillRect(slot, kOutline);
    }
    p.setRenderHint(QPainter::Antialiasing);
    if (bird) {
        const QPainterPath k =
            kestrelSilhouette(QPointF(10 * g.unit(), 23.6 * g.unit()), 11 * g.unit() / 52);
        p.setPen(Qt::NoPen);
        p.setBrush(shaded(kWingMetal, 0.3f));
        p.drawPath(k.translated(0, g.unit() * 0.25));
        p.setBrush(kEngraveDark);
        p.drawPath(k);
    }
    if (n < 48) {  // too small for a round lens: a lit square
        p.fillRect(QRect(g.at(24.5), g.at(23.5), g.span(2), g.span(2)), kGlow);
        return;
    }
    const QPointF lamp(25.5 * g.unit(), 24.25 * g.unit());
    const qreal r = 1.6 * g.unit();
    QRadialGradient glow(lamp - QPointF(r, r) * 0.35, r * 1.3);
    glow.setColorAt(0, QColor(220, 248, 255));
    glow.setColorAt(0.45, kGlow);
    glow.setColorAt(1, kGlowDim);
    p.setPen(QPen(kOutline, std::max(1.0, g.unit() * 0.4)));
    p.setBrush(glow);
    p.drawEllipse(lamp, r, r);
}

QImage drawScaledIcon(int n) {
    const Grid g(n);
    QImage img(n, n, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainterPath outline;
    outline.addRoundedRect(pixelArea(g.rect(0, 3, 32, 29)), 4 * g.unit(), 4 * g.unit());
    const Mask body = Mask::fromPath(outline, n, n);
    fillBrushed(img, body, {kWingMetal, 6, 0.25f, 41});
    drawGlass(img, g);
    drawStrip(img, g);
    applyBevel(img, body, {float(1.5 * g.unit()), 0.5f, 0.6f, false});
    applyOutline(img, body, kOutline, 0.9f);
    // Clear outside the case, its edge pixels as opaque as the case covers them.
    QImage out(n, n, QImage::Format_ARGB32);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const QRgb c = img.pixel(x, y);
            const int alpha = int(std::lround(body.coverage(x, y) * 255));
            out.setPixel(x, y, alpha ? qRgba(qRed(c), qGreen(c), qBlue(c), alpha) : 0);
        }
    return out;
}

}  // namespace

std::string appIconFile(int size) {
    const std::string n = std::to_string(size);
    return "icons/hicolor/" + n + "x" + n + "/apps/kestrelon.png";
}

QImage drawAppIcon(int size) {
    const QImage art = pixelArtAppIcon(size);
    return art.isNull() ? drawScaledIcon(size) : art;
}

}  // namespace kestrelon::skingen
