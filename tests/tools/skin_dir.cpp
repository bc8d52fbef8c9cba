// SPDX-License-Identifier: GPL-3.0-or-later
// Composition of the generated skin for the tests, the way the renderer lays it down.
#include "tests/tools/skin_dir.h"

#include <QPainter>

namespace kestrelon::skintest {

namespace {

void sprite(QImage& target, std::string_view pictureName, std::string_view maskName, QPoint at) {
    const QImage pic = picture(pictureName), mask = picture(maskName);
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QPoint t = at + QPoint(x, y);
            if (!target.rect().contains(t)) continue;
            target.setPixel(t,
                            (target.pixel(t) & mask.pixel(x, y)) | pic.pixel(x, y) | 0xff000000u);
        }
}

}  // namespace

QImage composedSkin(bool wingsOpen) {
    QImage skin = picture(geo::kSkinPictureFile);
    {
        QPainter p(&skin);
        p.drawImage(QPoint(geo::kLcdOrigin.x, geo::kLcdOrigin.y), picture(geo::kLcdPictureFile));
    }
    for (const auto& w : geo::kWings) {
        const geo::Point at = wingsOpen ? w.open : w.closed;
        sprite(skin, w.picture, w.mask, QPoint(at.x, at.y));
        sprite(skin, wingsOpen ? w.buttonOpen : w.buttonClosed,
               wingsOpen ? w.buttonOpenMask : w.buttonClosedMask,
               QPoint(w.buttonAt.x, w.buttonAt.y));
    }
    sprite(skin, geo::kCentrePicture, geo::kCentreMask, QPoint(geo::kCentreAt.x, geo::kCentreAt.y));
    return skin;
}

}  // namespace kestrelon::skintest
