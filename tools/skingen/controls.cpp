// SPDX-License-Identifier: GPL-3.0-or-later
// Control and indicator painters.
#include "tools/skingen/controls.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/skingen/layout.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/shading.h"
#include "tools/skingen/shapes.h"

namespace kestrelon::skingen {

void paintRoundButton(QImage& img, const QRect& r, RoundGlyph g, const QColor& glyph) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = pixelArea(r);
    const QPointF c = area.center();
    const qreal rad = std::min(area.width(), area.height()) / 2;
    QRadialGradient dome(c - QPointF(rad * 0.35, rad * 0.45), rad * 1.5);
    dome.setColorAt(0, shaded(kHubMetal, 0.3f));
    dome.setColorAt(0.6, kWingMetal);
    dome.setColorAt(1, shaded(kWingMetal, -0.5f));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(dome);
    p.drawEllipse(c, rad - 0.5, rad - 0.5);
    const qreal s = rad * 0.42;
    p.setPen(QPen(glyph, 1.6, Qt::SolidLine, Qt::RoundCap));
    if (g == RoundGlyph::Minimise) {
        p.drawLine(c + QPointF(-s, 0.5), c + QPointF(s, 0.5));
    } else {
        p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
        p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
    }
}

namespace {

void paintArrow(QPainter& p, const QRectF& r, bool up, const QColor& c) {
    const QPointF m = r.center();
    const qreal hw = std::min(r.width(), r.height()) * 0.28, hh = hw * 0.85;
    QPainterPath tri;
    if (up) {
        tri.moveTo(m.x() - hw, m.y() + hh * 0.6);
        tri.lineTo(m.x() + hw, m.y() + hh * 0.6);
        tri.lineTo(m.x(), m.y() - hh);
    } else {
        tri.moveTo(m.x() - hw, m.y() - hh * 0.6);
        tri.lineTo(m.x() + hw, m.y() - hh * 0.6);
        tri.lineTo(m.x(), m.y() + hh);
    }
    tri.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(tri);
}

}  // namespace

void paintGlassButton(QImage& img, const QRect& r, const GlassButton& b) {
    const QRectF area = pixelArea(r).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = std::min<qreal>(3, area.height() / 3);
    const QColor face = b.lit ? kInkOnLit : mixed(b.accent, kGlassBottom, 0.35f);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        if (b.lit) {
            QLinearGradient fill(area.topLeft(), area.bottomLeft());
            fill.setColorAt(0, shaded(b.accent, 0.35f));
            fill.setColorAt(0.5, b.accent);
            fill.setColorAt(1, shaded(b.accent, -0.25f));
            p.setPen(QPen(shaded(b.accent, 0.5f), 1));
            p.setBrush(fill);
        } else {
            p.setPen(QPen(mixed(b.accent, kGlassBottom, 0.62f), 1));
            p.setBrush(mixed(b.accent, kGlassBottom, 0.92f));
        }
        p.drawRoundedRect(area, radius, radius);
        if (b.face == Face::ArrowUp || b.face == Face::ArrowDown)
            paintArrow(p, area, b.face == Face::ArrowUp, face);
    }
    if (b.face == Face::Text) {
        const int w = labelWidth(b.text, b.textScale), h = kLabelHeight * b.textScale;
        paintLabel(img, r.left() + (r.width() - w + 1) / 2, r.top() + (r.height() - h + 1) / 2,
                   b.text, face, b.textScale);
    } else if (b.face == Face::Picture) {
        const QSize s = symbolSize(b.symbol);
        paintSymbol(img, r.left() + (r.width() - s.width() + 1) / 2,
                    r.top() + (r.height() - s.height() + 1) / 2, b.symbol, face);
    }
}

void paintReadoutGhosts(QImage& img, QPoint at, geo::Point rightmost, QSize size) {
    const geo::Font& f = geo::kSmallFont;
    for (int x = rightmost.x; x >= 0 && x + f.cell.w <= size.width(); x -= f.advance)
        paintGhostCell(img, f, at + QPoint(x, rightmost.y), false, kGhostDots);
}

void paintIcon(QImage& img, const QRect& r, geo::IconRow row, Channel channel, bool highlighted) {
    const std::string_view word = channelWord(channel);
    const bool symbol = row != geo::IconRow::Sensor;
    const Symbol sym = row == geo::IconRow::Fan ? Symbol::Fan : Symbol::Thermometer;
    const QSize ss = symbol ? symbolSize(sym) : QSize();
    const int textW = labelWidth(word);
    const int gap = symbol ? 2 : 0;
    const int contentW = textW + (symbol ? ss.width() + gap : 0);
    const QColor ink = highlighted ? kInkOnLit : kGlow;
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = pixelArea(r).adjusted(0.5, 0.5, -0.5, -0.5);
        if (highlighted) {
            p.setPen(QPen(shaded(kGlow, 0.4f), 1));
            p.setBrush(kGlow);
        } else {
            p.setPen(QPen(kGlowDim, 1));
            p.setBrush(Qt::NoBrush);
        }
        p.drawRoundedRect(box, 2, 2);
    }
    int x = r.left() + (r.width() - contentW + 1) / 2;
    if (symbol) {
        paintSymbol(img, x, r.top() + (r.height() - ss.height() + 1) / 2, sym, ink);
        x += ss.width() + gap;
    }
    paintLabel(img, x, r.top() + (r.height() - kLabelHeight + 1) / 2, word, ink);
}

void paintLamp(QImage& img, const QRect& r, const QColor& colour, bool on) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = pixelArea(r);
    const QPointF c = area.center();
    const qreal rad = std::min(area.width(), area.height()) / 2 - 0.5;
    QRadialGradient lens(c - QPointF(rad * 0.3, rad * 0.35), rad * 1.3);
    if (on) {
        lens.setColorAt(0, shaded(colour, 0.75f));
        lens.setColorAt(0.45, colour);
        lens.setColorAt(1, shaded(colour, -0.45f));
    } else {
        lens.setColorAt(0, mixed(colour, QColor(40, 44, 48), 0.7f));
        lens.setColorAt(1, mixed(colour, QColor(6, 8, 9), 0.88f));
    }
    p.setPen(QPen(kOutline, 1));
    p.setBrush(lens);
    p.drawEllipse(c, rad, rad);
}

void paintUnit(QImage& img, const QRect& r, bool fahrenheit) {
    const Symbol sym = fahrenheit ? Symbol::DegreesF : Symbol::DegreesC;
    const QSize s = symbolSize(sym);
    paintSymbol(img, r.left() + (r.width() - s.width() + 1) / 2,
                r.top() + (r.height() - s.height() + 1) / 2, sym, kGlow);
}

void paintAlarmSwitch(QImage& img, const QRect& r, bool on) {
    const QSize s = symbolSize(Symbol::Bell);
    const int x = r.left() + (r.width() - s.width() + 1) / 2;
    const int y = r.top() + (r.height() - s.height() + 1) / 2;
    if (on) {
        paintSymbol(img, x, y, Symbol::Bell, kGlow);
        return;
    }
    paintSymbol(img, x, y, Symbol::Bell, kGlowDim);
    QPainter p(&img);
    p.setPen(QPen(kGlowSoft, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomRight() - QPoint(1, 1));
}

}  // namespace kestrelon::skingen
