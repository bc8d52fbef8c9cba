// SPDX-License-Identifier: GPL-3.0-or-later
// Host facts with more digits than their readout: the next unit with one decimal where it fits,
// the unit word's picture changed to match, and values that fit drawn as before.
#include <gtest/gtest.h>

#include <string>

#include "renderer_fixture.h"
#include "skin/number_text.h"

namespace kestrelon::test {
namespace {

TEST(FitNumber, EachUnitsEdgeInFourAndThreeCharacters) {
    const struct {
        int32_t value;
        int digits;
        FittedNumber shown;
    } cases[] = {
        // Memory in MB, four characters: MB, GB, TB.
        {0, 4, {"0", 0}},
        {7, 4, {"07", 0}},  // as every readout: a leading zero below 10
        {9999, 4, {"9999", 0}},
        {10000, 4, {"9.7", 1}},  // 9.77 GB, truncated
        {24105, 4, {"23.5", 1}},
        {102399, 4, {"99.9", 1}},
        {102400, 4, {"100", 1}},  // "100.0" does not fit: whole GB
        {10239999, 4, {"9999", 1}},
        {10240000, 4, {"9.7", 2}},  // 10 000 GB: TB
        // Disk in GB, three characters: GB, TB, PB.
        {0, 3, {"0", 0}},
        {999, 3, {"999", 0}},
        {1000, 3, {"0.9", 1}},
        {1024, 3, {"1.0", 1}},
        {1863, 3, {"1.8", 1}},
        {10239, 3, {"9.9", 1}},
        {10240, 3, {"10", 1}},
        {1023999, 3, {"999", 1}},
        {1024000, 3, {"0.9", 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitNumber(c.value, c.digits, 3), c.shown)
            << c.value << " in " << c.digits << ": got " << FitNumber(c.value, c.digits, 3).text;
    // Without a larger unit a long value stays as it is (and its readout clips it).
    EXPECT_EQ(FitNumber(123456, 5, 1), (FittedNumber{"123456", 0}));
    EXPECT_EQ(FitNumber(2400, 5, 1), (FittedNumber{"2400", 0}));
}

std::vector<std::pair<int, std::string>> smallDigits(const std::string& text, int rightmost) {
    std::vector<std::pair<int, std::string>> glyphs;
    int x = rightmost;
    for (auto c = text.rbegin(); c != text.rend(); ++c, x -= 6)
        glyphs.emplace_back(x, *c == '.' ? "sdot.bmp" : std::string("s") + *c + ".bmp");
    return glyphs;
}

TEST_F(RendererTest, HostReadoutsShowTheirUnitWordForTheValueShown) {
    const QSize small(5, 7), unit(geo::kHostUnitSize.w, geo::kHostUnitSize.h);
    const struct {
        int32_t ramMb, diskGb;
        std::string ramText, ramUnit, diskText, diskUnit;
    } cases[] = {
        {9999, 999, "9999", "srammb.bmp", "999", "shdgb.bmp"},
        {24105, 1863, "23.5", "sramgb.bmp", "1.8", "shdtb.bmp"},
        {10000, 1000, "9.7", "sramgb.bmp", "0.9", "shdtb.bmp"},
        {0, 0, "0", "srammb.bmp", "0", "shdgb.bmp"},  // and back to the readout's own unit
    };
    for (const auto& c : cases) {
        state.host.memoryMb = c.ramMb;
        state.host.diskGb = c.diskGb;
        const QImage before = renderer.windowPicture().copy();
        renderer.DrawHostReadout(geo::HostFact::Memory);
        renderer.DrawHostReadout(geo::HostFact::Disk);
        const QImage& after = renderer.windowPicture();
        EXPECT_EQ(after.copy(480, 260, 24, 9),
                  panel("sramba.bmp", 1, small, smallDigits(c.ramText, 18)))
            << c.ramMb;
        EXPECT_EQ(after.copy(516, 274, 18, 9),
                  panel("shdba.bmp", 1, small, smallDigits(c.diskText, 12)))
            << c.diskGb;
        EXPECT_EQ(fillMismatch(after, QRect(QPoint(506, 262), unit), colour(c.ramUnit)), "")
            << c.ramMb;
        EXPECT_EQ(fillMismatch(after, QRect(QPoint(536, 276), unit), colour(c.diskUnit)), "")
            << c.diskGb;
        // Nothing else changes.
        QImage expected = before.copy();
        for (const QRect& r : {QRect(480, 260, 24, 9), QRect(516, 274, 18, 9),
                               QRect(QPoint(506, 262), unit), QRect(QPoint(536, 276), unit)})
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    expected.setPixel(x, y, after.pixel(x, y));
        EXPECT_EQ(after, expected) << c.ramMb << " " << c.diskGb;
    }
}

TEST_F(RendererTest, TheProcessorClockHasNoUnitToChange) {
    state.host.processorMhz = 123456;  // longer than its five characters: clipped as before
    const QImage before = renderer.windowPicture().copy();
    renderer.DrawHostReadout(geo::HostFact::CpuClock);
    EXPECT_EQ(renderer.windowPicture().copy(520, 245, 31, 9),
              panel("sspba.bmp", 1, QSize(5, 7), smallDigits("123456", 25)));
    EXPECT_EQ(diffOutside(renderer.windowPicture(), before, QRect(520, 245, 31, 9)), "");
}

}  // namespace
}  // namespace kestrelon::test
