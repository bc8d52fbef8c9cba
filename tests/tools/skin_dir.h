// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the skin tests: the generated skin directory and pixel predicates.
#pragma once

#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "skin/geometry.h"

namespace kestrelon::skintest {

inline QString skinPath(std::string_view name) {
    return QStringLiteral(KESTRELON_SKIN_DIR "/") +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// A skin picture decoded strictly as BMP, as 32-bit RGB (null when it does not decode).
inline QImage picture(std::string_view name) {
    QImageReader reader(skinPath(name), "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

inline bool isKey(QRgb c) {
    return qRed(c) == 255 && qGreen(c) == 0 && qBlue(c) == 255;
}
inline int brightest(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}
inline double luminance(QRgb c) {
    return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
}

inline QRect rectOf(const geo::Area& a) {
    return QRect(a.x0, a.y0, a.x1 - a.x0 + 1, a.y1 - a.y0 + 1);
}
inline QPoint windowPoint(geo::Surface s, geo::Point p) {
    return s == geo::Surface::Lcd ? QPoint(p.x + geo::kLcdOrigin.x, p.y + geo::kLcdOrigin.y)
                                  : QPoint(p.x, p.y);
}

// The skin as the window shows it with every wing closed or open: LCD copied in, wings, buttons
// and hub drawn as (background AND mask) OR picture, like the renderer does.
QImage composedSkin(bool wingsOpen);

}  // namespace kestrelon::skintest
