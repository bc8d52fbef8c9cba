// SPDX-License-Identifier: GPL-3.0-or-later
// The window outline: runs of non-key pixels, and the region built from them.
#include "skin/window_shape.h"

#include <gtest/gtest.h>

namespace kestrelon {

namespace {

constexpr QRgb kKey = 0xFFFF00FFu;

QImage keyed(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

// Pixels of the region, counted, and whether it holds exactly the non-key pixels of the image.
void expectRegionMatchesImage(const QImage& image) {
    const QRegion region = RegionFromRuns(MakeRegionFromMask(image));
    const QRgb key = image.pixel(0, 0) & 0xFFFFFF;
    for (int y = -1; y <= image.height(); ++y)
        for (int x = -1; x <= image.width(); ++x) {
            const bool inside =
                image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFF) != key;
            ASSERT_EQ(region.contains(QPoint(x, y)), inside) << x << "," << y;
        }
}

}  // namespace

TEST(MakeRegionFromMask, RunsAreHalfOpenReachTheRightEdgeAndLeaveGapsOutside) {
    QImage single = keyed(7, 5);
    single.setPixel(4, 3, qRgb(1, 2, 3));
    QImage toEdge = keyed(7, 3);
    for (int x = 3; x < 7; ++x) toEdge.setPixel(x, 1, qRgb(0, 0, 0));
    QImage twoRuns = keyed(10, 2);
    for (int x : {1, 2, 6, 7, 8}) twoRuns.setPixel(x, 1, qRgb(9, 9, 9));
    const std::pair<QImage, std::vector<RegionRun>> cases[] = {
        {single, {{4, 3, 5, 4}}},
        {toEdge, {{3, 1, 7, 2}}},
        {twoRuns, {{1, 1, 3, 2}, {6, 1, 9, 2}}}};
    for (const auto& [image, runs] : cases) {
        EXPECT_EQ(MakeRegionFromMask(image), runs);
        expectRegionMatchesImage(image);
    }
}

TEST(MakeRegionFromMask, AllKeyPictureGivesNoRunsAndAnEmptyRegion) {
    const QImage image = keyed(9, 4);
    EXPECT_TRUE(MakeRegionFromMask(image).empty());
    EXPECT_TRUE(RegionFromRuns({}).isEmpty());
}

TEST(MakeRegionFromMask, KeyColourOnlyAtTheOriginLeavesEveryOtherPixelInside) {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(0, 0, qRgb(200, 0, 0));
    const std::vector<RegionRun> runs = MakeRegionFromMask(image);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs.front(), (RegionRun{1, 0, 6, 1}));
    for (int y = 1; y < 4; ++y) EXPECT_EQ(runs[y], (RegionRun{0, y, 6, y + 1}));
    expectRegionMatchesImage(image);
}

TEST(MakeRegionFromMask, OnlyTheColourCountsNotTheAlphaByte) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.fill(kKey);
    image.setPixel(2, 0, 0x00FF00FFu);  // the key colour with another alpha: still outside
    image.setPixel(3, 0, 0xFFFF00FEu);  // one bit off the key: inside
    EXPECT_EQ(MakeRegionFromMask(image), (std::vector<RegionRun>{{3, 0, 4, 1}}));
}

TEST(MakeRegionFromMask, IrregularOutlineBuildsTheSameRegionAsUnitingTheRuns) {
    QImage image = keyed(40, 30);
    for (int y = 2; y < 28; ++y)
        for (int x = 0; x < 40; ++x)
            if ((x - 20) * (x - 20) + (y - 15) * (y - 15) < 150 || (x > 30 && y % 5 != 0))
                image.setPixel(x, y, qRgb(x, y, 7));
    const std::vector<RegionRun> runs = MakeRegionFromMask(image);
    QRegion united;
    for (const RegionRun& r : runs) united += QRect(r.left, r.top, r.right - r.left, 1);
    EXPECT_TRUE(RegionFromRuns(runs).xored(united).isEmpty());
    expectRegionMatchesImage(image);
}

}  // namespace kestrelon
