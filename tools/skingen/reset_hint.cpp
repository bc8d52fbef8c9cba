// SPDX-License-Identifier: GPL-3.0-or-later
// A small dark badge with a red circular arrow and the word RESET.
#include "tools/skingen/reset_hint.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "tools/skingen/layout.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/shading.h"

namespace kestrelon::skingen {

QImage drawResetHint() {
    QImage img(kResetSize, QImage::Format_RGB32);
    img.fill(kOutline);
    const QRectF area(0.5, 0.5, img.width() - 1, img.height() - 1);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(area.topLeft(), area.bottomLeft());
        fill.setColorAt(0, shaded(kWingMetal, 0.1f));
        fill.setColorAt(1, shaded(kRecessMetal, -0.3f));
        p.setPen(QPen(shaded(kBacklightRed, -0.2f), 1));
        p.setBrush(fill);
        p.drawRoundedRect(area, 4, 4);
        // Circular arrow: an open ring with a head at its end.
        const QPointF c(8.5, area.center().y());
        const qreal r = 4;
        p.setPen(QPen(kBacklightRed, 1.5, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 100 * 16, 280 * 16);
        QPainterPath head;
        const QPointF end =
            c + QPointF(r * std::cos(100 * M_PI / 180), -r * std::sin(100 * M_PI / 180));
        head.moveTo(end + QPointF(-2.6, -2.2));
        head.lineTo(end + QPointF(1.8, 0.2));
        head.lineTo(end + QPointF(-2.2, 2.6));
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kBacklightRed);
        p.drawPath(head);
    }
    paintLabel(img, 16, (img.height() - kLabelHeight) / 2, "RESET", kBacklightRed);
    return img;
}

}  // namespace kestrelon::skingen
