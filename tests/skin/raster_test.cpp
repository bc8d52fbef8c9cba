// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing primitives: copy, glyph AND/OR and masked sprites, clipped at every edge of the target.
#include "skin/raster.h"

#include <gtest/gtest.h>

namespace kestrelon {

namespace {

QImage patterned(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37 + seed) & 0xFF, (y * 53 + seed) & 0xFF, seed & 0xFF));
    return image;
}

// Places where a 4 x 3 picture on a 10 x 8 target lies inside, across each edge, over a corner,
// and wholly outside.
const QPoint kPlaces[] = {{3, 2}, {-2, 3}, {8, 2},  {3, -1}, {3, 6}, {-3, -2},
                          {9, 7}, {-4, 0}, {10, 0}, {0, -3}, {0, 8}, {-100, 50}};

// Reference: the target after putting the picture at `at`, pixel by pixel with `op`.
template <typename Op>
QImage reference(const QImage& target, const QImage& picture, QPoint at, Op op) {
    QImage out = target.copy();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint t = at + QPoint(x, y);
            if (out.rect().contains(t)) out.setPixel(t, op(out.pixel(t), x, y));
        }
    return out;
}

}  // namespace

TEST(BlitPicture, ReplacesExactlyThePicturesFootprintWhereverItLands) {
    const QImage target = patterned(10, 8, 1);
    const QImage picture = patterned(4, 3, 200);
    for (QPoint at : kPlaces) {
        QImage drawn = target.copy();
        BlitPicture(drawn, picture, at.x(), at.y());
        EXPECT_EQ(drawn, reference(target, picture, at,
                                   [&](QRgb, int x, int y) { return picture.pixel(x, y); }))
            << "at " << at.x() << "," << at.y();
    }
}

TEST(BlitDigit, OrsTheGlyphThroughTheMaskWhichCountsAsWhiteBeyondItsSize) {
    QImage target(6, 4, QImage::Format_RGB32);
    target.fill(qRgb(0x30, 0x00, 0x0F));
    QImage glyph(3, 2, QImage::Format_RGB32);
    glyph.fill(qRgb(0x00, 0x00, 0x00));
    glyph.setPixel(1, 1, qRgb(0x0C, 0xA0, 0x00));
    QImage white(8, 12, QImage::Format_RGB32);
    white.fill(0xFFFFFFFFu);

    BlitDigit(target, glyph, white, 2, 1);
    EXPECT_EQ(target.pixel(3, 2), qRgb(0x3C, 0xA0, 0x0F))
        << "lit glyph pixels light the background";
    EXPECT_EQ(target.pixel(2, 1), qRgb(0x30, 0x00, 0x0F)) << "black glyph pixels leave it";

    QImage mask = white.copy();
    mask.setPixel(0, 0, qRgb(0x10, 0xFF, 0xFF));  // AND keeps only bit 4 of red at the corner
    BlitDigit(target, glyph, mask, 2, 1);
    EXPECT_EQ(target.pixel(2, 1), qRgb(0x10, 0x00, 0x0F));

    // A big-font glyph over the 8 x 12 mask: ORed everywhere, clipped at the edges.
    const QImage back = patterned(12, 15, 7);
    const QImage big = patterned(10, 13, 99);
    for (QPoint at : {QPoint(1, 1), QPoint(-3, -4), QPoint(5, 9)}) {
        QImage drawn = back.copy();
        BlitDigit(drawn, big, white, at.x(), at.y());
        EXPECT_EQ(drawn, reference(back, big, at,
                                   [&](QRgb t, int x, int y) { return t | big.pixel(x, y); }));
    }
}

TEST(NoBlinkDraw, KeepsTheBackgroundWhereTheMaskIsWhiteAndIsIdempotent) {
    const QImage target = patterned(10, 8, 3);
    QImage picture(4, 3, QImage::Format_RGB32);
    QImage mask(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool shape = (x + y) % 2 == 0;
            picture.setPixel(x, y,
                             shape ? qRgb(0x11 * (x + 1), 0x22 * (y + 1), 0x99) : 0xFF000000u);
            mask.setPixel(x, y, shape ? 0xFF000000u : 0xFFFFFFFFu);
        }
    for (QPoint at : kPlaces) {
        QImage once = target.copy();
        NoBlinkDraw(once, picture, mask, at.x(), at.y());
        EXPECT_EQ(once, reference(target, picture, at, [&](QRgb t, int x, int y) {
                      return mask.pixel(x, y) == 0xFF000000u ? picture.pixel(x, y) : t;
                  }));
        QImage twice = once.copy();
        NoBlinkDraw(twice, picture, mask, at.x(), at.y());
        EXPECT_EQ(twice, once);
    }
}

}  // namespace kestrelon
