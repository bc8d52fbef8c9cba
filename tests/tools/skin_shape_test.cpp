// SPDX-License-Identifier: GPL-3.0-or-later
// The window outline drawn in the skin: key colour only outside, hard edges, one piece, and
// room for every grab area, open wing and control.
#include <gtest/gtest.h>

#include <vector>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::isKey;
using skintest::picture;
using skintest::rectOf;

class SkinShape : public ::testing::Test {
protected:
    void SetUp() override {
        skin = picture(geo::kSkinPictureFile);
        ASSERT_FALSE(skin.isNull());
    }
    int keyPixelsIn(const QRect& r) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += isKey(skin.pixel(x, y));
        return n;
    }
    QImage skin;
};

TEST_F(SkinShape, KeyColourMarksTheOutsideAndNeverAPlaceTheWindowNeeds) {
    ASSERT_TRUE(isKey(skin.pixel(0, 0)));
    EXPECT_GT(keyPixelsIn(skin.rect()), 1000) << "the window is cut to a shape";
    for (int y = 0; y < skin.height(); ++y)
        for (int x = 0; x < skin.width(); ++x)
            if (geo::inUpperGrabArea(float(x), float(y)) ||
                geo::inLowerGrabArea(float(x), float(y))) {
                ASSERT_FALSE(isKey(skin.pixel(x, y))) << "grab area at " << x << "," << y;
            }
    for (const auto& w : geo::kWings) {
        // Where the open wing rests, as far as the composition reaches.
        const geo::Point o = w.open;
        const QImage wing = picture(w.picture);
        const QRect rest =
            QRect(o.x, o.y, wing.width(), wing.height())
                .intersected(QRect(0, 0, geo::kComposedBlock.w, geo::kComposedBlock.h));
        EXPECT_EQ(keyPixelsIn(rest), 0) << w.picture;
    }
    for (const auto& c : geo::kClickAreas)
        EXPECT_EQ(keyPixelsIn(rectOf(c.area)), 0) << int(c.control);
    EXPECT_EQ(keyPixelsIn(QRect(geo::kSidePanelX, 40, geo::kWindow.w - geo::kSidePanelX - 20, 360)),
              0)
        << "side panel";
}

TEST_F(SkinShape, OutlineIsOnePieceWithHardEdges) {
    // Flood the inside from the LCD's centre; every inside pixel must be reached.
    const int w = skin.width(), h = skin.height();
    std::vector<char> seen(std::size_t(w) * h, 0);
    std::vector<QPoint> todo{
        QPoint(geo::kLcdOrigin.x + geo::kLcd.w / 2, geo::kLcdOrigin.y + geo::kLcd.h / 2)};
    int reached = 0;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (!skin.rect().contains(p) || seen[std::size_t(p.y()) * w + p.x()] ||
            isKey(skin.pixel(p)))
            continue;
        seen[std::size_t(p.y()) * w + p.x()] = 1;
        ++reached;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    EXPECT_EQ(reached, w * h - keyPixelsIn(skin.rect()));

    // Against the key colour the shape ends in dark, solid pixels: no blend towards magenta.
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const QRgb c = skin.pixel(x, y);
            if (isKey(c)) continue;
            const bool edge = isKey(skin.pixel(x - 1, y)) || isKey(skin.pixel(x + 1, y)) ||
                              isKey(skin.pixel(x, y - 1)) || isKey(skin.pixel(x, y + 1));
            if (!edge) continue;
            const bool magentaTinted = qRed(c) > qGreen(c) + 40 && qBlue(c) > qGreen(c) + 40;
            ASSERT_FALSE(magentaTinted) << "edge pixel " << x << "," << y;
        }
}

TEST_F(SkinShape, ClosedWingsCoverTheirQuadrantsAndEveryWingStaysInItsBlock) {
    const QRect lcd(geo::kLcdOrigin.x, geo::kLcdOrigin.y, geo::kLcd.w, geo::kLcd.h);
    for (const auto& w : geo::kWings) {
        SCOPED_TRACE(std::string(w.picture));
        const QImage mask = picture(w.mask);
        const QRect closed(QPoint(w.closed.x, w.closed.y), mask.size());
        const QRect open(QPoint(w.open.x, w.open.y), mask.size());
        const QRect block(w.screenBlock.x, w.screenBlock.y, w.screenBlock.w, w.screenBlock.h);
        EXPECT_TRUE(block.contains(closed));
        EXPECT_TRUE(block.contains(
            open.intersected(QRect(0, 0, geo::kComposedBlock.w, geo::kComposedBlock.h))));
        EXPECT_LT(open.right(), geo::kComposedBlock.w)
            << "an open wing beyond the composed block is cut";
        // The quadrant the wing covers: its closed rectangle within the LCD.
        const QRect quadrant = closed.intersected(lcd);
        EXPECT_GE(quadrant.width(), 98);
        EXPECT_GE(quadrant.height(), 100);
        for (int y = quadrant.top(); y <= quadrant.bottom(); ++y)
            for (int x = quadrant.left(); x <= quadrant.right(); ++x)
                ASSERT_EQ(mask.pixel(x - closed.x(), y - closed.y()) & 0xffffff, 0u)
                    << "LCD shows through at " << x << "," << y;
    }
    // The closed wings leave only the seams of the LCD's cross, and the hub covers their crossing.
    const QImage centre = picture(geo::kCentreMask);
    const geo::Wing& ul = geo::kWings[0];
    const geo::Wing& lr = geo::kWings[3];
    const QImage ulMask = picture(ul.mask);
    for (int y = ul.closed.y + ulMask.height(); y < lr.closed.y; ++y)
        for (int x = ul.closed.x + ulMask.width(); x < lr.closed.x; ++x)
            EXPECT_EQ(centre.pixel(x - geo::kCentreAt.x, y - geo::kCentreAt.y) & 0xffffff, 0u)
                << "seam crossing at " << x << "," << y;
}

TEST_F(SkinShape, EveryControlIsVisibleWhereItIsClicked) {
    const QImage closed = skintest::composedSkin(false), open = skintest::composedSkin(true);
    for (const auto& c : geo::kClickAreas) {
        if (c.control == geo::Control::ResetSpot) continue;  // hidden on purpose
        const QImage& img = c.gate == geo::Gate::None ? closed : open;
        const QRect r = rectOf(c.area);
        double lo = 255, hi = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                lo = std::min(lo, skintest::luminance(img.pixel(x, y)));
                hi = std::max(hi, skintest::luminance(img.pixel(x, y)));
            }
        EXPECT_GT(hi - lo, 60) << "control " << int(c.control) << " looks like bare surface";
    }
}

}  // namespace
}  // namespace kestrelon
