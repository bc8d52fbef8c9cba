// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon ships at every theme size, each drawn for its size: clear around the case,
// a solid body with a lit display, hard edges at panel sizes; the tray takes one of them as is.
#include <gtest/gtest.h>

#include <QImageReader>
#include <algorithm>
#include <set>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

QImage png(const QString& name) {
    QImageReader reader(skintest::skinPath(name.toStdString()), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

QString themeFile(int size) {
    return QString("icons/hicolor/%1x%1/apps/kestrelon.png").arg(size);
}

TEST(SkinIcons, EverySizeIsItsOwnSizeWithClearCornersAndALitSolidBody) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = png(themeFile(size));
        ASSERT_FALSE(icon.isNull());
        ASSERT_EQ(icon.size(), QSize(size, size));
        for (QPoint corner :
             {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0)
                << "corner " << corner.x() << "," << corner.y();
        int opaque = 0, partial = 0;
        double darkest = 255, brightest = 0;
        std::set<QRgb> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb c = icon.pixel(x, y);
                partial += qAlpha(c) > 0 && qAlpha(c) < 255;
                if (qAlpha(c) < 255) continue;
                ++opaque;
                colours.insert(c);
                darkest = std::min(darkest, skintest::luminance(c));
                brightest = std::max(brightest, skintest::luminance(c));
            }
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        EXPECT_GT(opaque, size * size * 6 / 10) << "the case fills most of the square";
        EXPECT_GT(brightest - darkest, 120) << "a lit display on a dark case";
        EXPECT_GE(colours.size(), 5u);
        if (size <= 24) {
            EXPECT_EQ(partial, 0) << "soft edges blur at panel sizes";
        }
    }

    const QImage tray = png("kestrelon-tray.png");
    ASSERT_FALSE(tray.isNull());
    ASSERT_EQ(tray.width(), tray.height());
    EXPECT_TRUE(tray.width() == 24 || tray.width() == 32);
    EXPECT_TRUE(tray == png(themeFile(tray.width()))) << "the tray shows the theme icon as drawn";
}

}  // namespace
}  // namespace kestrelon
