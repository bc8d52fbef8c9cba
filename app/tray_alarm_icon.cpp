// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the alarm mark on the tray icon.
#include "app/tray_alarm_icon.h"

#include <QPainter>
#include <QPixmap>

namespace kestrelon {

namespace {

constexpr QRgb kAlarmRed = qRgb(0xE0, 0x10, 0x10);
constexpr int kFallbackSize = 32;

}  // namespace

QImage AlarmIconPicture(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int side = std::min(out.width(), out.height());
    const double diameter = side * 0.5;
    const QRectF disc(out.width() - diameter, out.height() - diameter, diameter, diameter);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, std::max(1.0, side / 16.0)));
    painter.setBrush(QColor(kAlarmRed));
    const double inset = std::max(0.5, side / 32.0);
    painter.drawEllipse(disc.adjusted(inset, inset, -inset, -inset));
    return out;
}

QIcon AlarmIcon(const QIcon& icon) {
    QIcon out;
    QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty()) sizes.append(QSize(kFallbackSize, kFallbackSize));
    for (const QSize& size : sizes)
        out.addPixmap(QPixmap::fromImage(AlarmIconPicture(icon.pixmap(size).toImage())));
    return out;
}

}  // namespace kestrelon
