// SPDX-License-Identifier: GPL-3.0-or-later
// Lit and unlit buttons, lamps and highlighted icons must be told apart at a glance.
#include <gtest/gtest.h>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::luminance;
using skintest::picture;

double meanLuminance(const QImage& img) {
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) sum += luminance(img.pixel(x, y));
    return sum / (img.width() * img.height());
}

// Share of pixels whose brightness differs by more than `by`.
double changedShare(const QImage& a, const QImage& b, double by) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += std::abs(luminance(a.pixel(x, y)) - luminance(b.pixel(x, y))) > by;
    return double(n) / (a.width() * a.height());
}

TEST(SkinIndicators, LitButtonsAndLampsAreClearlyBrighterThanUnlitOnes) {
    std::vector<geo::Indicator> pairs{geo::kCelsiusButton, geo::kFahrenheitButton,
                                      geo::kAutoButton,    geo::kManualButton,
                                      geo::kLinkLamp,      geo::kAlarmSwitch};
    for (const auto& b : geo::kBacklightButtons) pairs.push_back(b.picture);
    for (const geo::Indicator& i : pairs) {
        SCOPED_TRACE(std::string(i.on));
        const QImage on = picture(i.on), off = picture(i.off);
        ASSERT_FALSE(on.isNull());
        ASSERT_EQ(on.size(), off.size());
        EXPECT_GT(meanLuminance(on) - meanLuminance(off), 12);
        EXPECT_GT(changedShare(on, off, 40), 0.1);
    }
    const QImage c = picture(geo::kTempUnit.off), f = picture(geo::kTempUnit.on);
    ASSERT_EQ(c.size(), f.size());
    EXPECT_GT(changedShare(c, f, 60), 0.03) << "°C and °F look alike";
}

TEST(SkinIndicators, HighlightedIconsAreInvertedVersionsOfTheirIcons) {
    for (const auto& icon : geo::kIcons) {
        SCOPED_TRACE(std::string(icon.picture));
        const QImage plain = picture(icon.picture), high = picture(icon.highlighted);
        ASSERT_FALSE(plain.isNull());
        ASSERT_EQ(plain.size(), high.size());
        EXPECT_GT(changedShare(plain, high, 60), 0.4);
        EXPECT_GT(meanLuminance(high), meanLuminance(plain) + 40);
    }
}

TEST(SkinIndicators, PanelIconsDoNotOverlapTheirReadouts) {
    for (const auto& icon : geo::kIcons) {
        const QRect pic(skintest::windowPoint(icon.target, icon.at), picture(icon.picture).size());
        for (const auto& r : geo::kReadouts) {
            const QRect panel(skintest::windowPoint(r.target, r.at), picture(r.background).size());
            EXPECT_FALSE(pic.intersects(panel)) << icon.picture << " over " << r.background;
        }
    }
}

}  // namespace
}  // namespace kestrelon
