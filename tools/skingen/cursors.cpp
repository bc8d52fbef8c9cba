// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor drawings: light shapes with a dark outline and a soft shadow, readable on the dark skin
// and on light desktops alike.
#include "tools/skingen/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "tools/skingen/palette.h"

namespace kestrelon::skingen {

namespace {

constexpr int kSize = 32;
const QColor kFill{238, 242, 246};
const QColor kEdge{10, 12, 14};

QImage render(const QPainterPath& shape, const QColor& accent = QColor(),
              const QPainterPath& accentPath = QPainterPath()) {
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(shape.translated(1.2, 1.6));
    p.setPen(QPen(kEdge, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kFill);
    p.drawPath(shape);
    if (accent.isValid()) {
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawPath(accentPath);
    }
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

CursorArt arrow() {
    QPainterPath a;
    const QPointF tip(1.5, 1.5);
    a.moveTo(tip);
    a.lineTo(tip + QPointF(0, 17));
    a.lineTo(tip + QPointF(4.2, 13.2));
    a.lineTo(tip + QPointF(7.2, 19.8));
    a.lineTo(tip + QPointF(10.2, 18.4));
    a.lineTo(tip + QPointF(7.3, 12));
    a.lineTo(tip + QPointF(12.6, 12));
    a.closeSubpath();
    QPainterPath glint;  // a cyan stripe along the arrow's left edge
    glint.moveTo(tip + QPointF(1.4, 4));
    glint.lineTo(tip + QPointF(1.4, 13.5));
    glint.lineTo(tip + QPointF(2.6, 12.3));
    glint.lineTo(tip + QPointF(2.6, 5.2));
    glint.closeSubpath();
    return {"arrow_m.cur", render(a, kGlow, glint), QPoint(1, 1)};
}

CursorArt hand() {
    // Index finger up, three fingers folded into the palm, thumb along the side.
    const qreal fx = 11, top = 1.5;
    QPainterPath finger;
    finger.addRoundedRect(QRectF(fx, top, 5, 16), 2.5, 2.5);
    QPainterPath palm;
    palm.addRoundedRect(QRectF(fx - 1, 11, 14.5, 15.5), 4, 4);
    QPainterPath knuckles;
    for (int i = 0; i < 3; ++i)
        knuckles.addRoundedRect(QRectF(fx + 4.6 + i * 3.3, 9.5 + i * 0.6, 4, 8), 2, 2);
    QPainterPath thumb;
    thumb.moveTo(fx, 20);
    thumb.cubicTo(fx - 4, 17, fx - 7.5, 15.5, fx - 7, 17.6);
    thumb.cubicTo(fx - 6.5, 19.5, fx - 3, 23, fx + 1, 26);
    thumb.closeSubpath();
    QPainterPath cuff;
    cuff.addRoundedRect(QRectF(fx + 0.5, 26, 12, 4.5), 1.2, 1.2);
    const QPainterPath hand =
        finger.united(palm).united(knuckles).united(thumb).united(cuff).simplified();
    QPainterPath band;
    band.addRect(QRectF(fx + 1.1, 27.1, 10.8, 2.3));
    return {"harrow.cur", render(hand, kGlow, band), QPoint(int(fx + 2.5), int(top))};
}

CursorArt move() {
    // Four arrows from the centre.
    const QPointF c(15.5, 15.5);
    QPainterPath one;  // pointing up, centred at the origin
    one.moveTo(0, -14.5);
    one.lineTo(5.2, -9);
    one.lineTo(1.7, -9);
    one.lineTo(1.7, -1.7);
    one.lineTo(-1.7, -1.7);
    one.lineTo(-1.7, -9);
    one.lineTo(-5.2, -9);
    one.closeSubpath();
    QPainterPath all;
    for (int i = 0; i < 4; ++i) all = all.united(QTransform().rotate(90 * i).map(one));
    QPainterPath hub;
    hub.addRect(QRectF(-1.7, -1.7, 3.4, 3.4));
    all = all.united(hub).simplified().translated(c);
    QPainterPath dot;
    dot.addEllipse(c, 1.6, 1.6);
    return {"move_r.cur", render(all, kGlow.darker(130), dot), QPoint(15, 15)};
}

}  // namespace

std::vector<CursorArt> drawCursors() {
    return {arrow(), hand(), move()};
}

}  // namespace kestrelon::skingen
