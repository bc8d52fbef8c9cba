// SPDX-License-Identifier: GPL-3.0-or-later
// The separate pictures fit together: none covers another, none hides under the hub or a wing
// button, the volume slider has room for what is drawn on it, and the wing buttons point the
// way their wings slide.
#include <gtest/gtest.h>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::picture;
using skintest::windowPoint;

struct Placed {
    std::string name;
    geo::Surface surface;
    QRect rect;  // on the window
};

Placed placed(std::string_view file, geo::Surface s, geo::Point at) {
    return {std::string(file), s, QRect(windowPoint(s, at), picture(file).size())};
}

// One entry per place: pictures that replace each other at one place count once.
std::vector<Placed> placedPictures() {
    std::vector<Placed> list;
    for (const auto& r : geo::kReadouts) list.push_back(placed(r.background, r.target, r.at));
    for (const auto& h : geo::kHostReadouts)
        list.push_back(placed(h.background, geo::Surface::Window, h.at));
    for (const auto& i : geo::kIcons) list.push_back(placed(i.picture, i.target, i.at));
    for (const auto* i :
         {&geo::kTempUnit, &geo::kLinkLamp, &geo::kCelsiusButton, &geo::kFahrenheitButton,
          &geo::kAutoButton, &geo::kManualButton, &geo::kAlarmSwitch})
        list.push_back(placed(i->off, i->target, i->at));
    for (const auto& b : geo::kBacklightButtons)
        list.push_back(placed(b.picture.off, b.picture.target, b.picture.at));
    list.push_back(placed(geo::kClockBackground, geo::Surface::Window, geo::kClockAt));
    list.push_back(placed(geo::kAlarmBackground, geo::Surface::Lcd, geo::kAlarmPanelOnLcd));
    list.push_back(placed(geo::kVolumeBackground, geo::Surface::Lcd, geo::kVolumeOnLcd));
    return list;
}

TEST(SkinLayout, NoPictureCoversAnother) {
    const std::vector<Placed> list = placedPictures();
    for (std::size_t i = 0; i < list.size(); ++i)
        for (std::size_t j = i + 1; j < list.size(); ++j)
            EXPECT_FALSE(list[i].rect.intersects(list[j].rect))
                << list[i].name << " and " << list[j].name;
}

TEST(SkinLayout, LcdPicturesStayClearOfTheHubAndTheWingButtons) {
    struct Sprite {
        std::string_view mask;
        geo::Point at;
    };
    std::vector<Sprite> covers{{geo::kCentreMask, geo::kCentreAt}};
    for (const auto& w : geo::kWings) covers.push_back({w.buttonClosedMask, w.buttonAt});
    for (const Placed& p : placedPictures()) {
        if (p.surface != geo::Surface::Lcd) continue;
        for (const Sprite& s : covers) {
            const QImage mask = picture(s.mask);
            const QPoint origin(s.at.x, s.at.y);
            for (int y = p.rect.top(); y <= p.rect.bottom(); ++y)
                for (int x = p.rect.left(); x <= p.rect.right(); ++x) {
                    const QPoint m = QPoint(x, y) - origin;
                    if (mask.rect().contains(m)) {
                        ASSERT_NE(mask.pixel(m) & 0xffffff, 0u) << p.name << " under " << s.mask;
                    }
                }
        }
    }
}

TEST(SkinLayout, VolumeBackgroundHoldsTheBarTickAndKnobDarkly) {
    const QImage v = picture(geo::kVolumeBackground);
    // Bar x 1..27 and y 15..75, tick to x 34, knob of radius 4 around x 38 between y 15 and 75.
    ASSERT_GE(v.width(), 43);
    ASSERT_GE(v.height(), 80);
    for (int y = 15; y <= 75; ++y)
        for (int x = 1; x <= 27; ++x)
            ASSERT_LE(skintest::brightest(v.pixel(x, y)), 100)
                << "white bar would not show at " << x << "," << y;
}

TEST(SkinLayout, WingButtonsPointTowardsTheirCorners) {
    for (const auto& w : geo::kWings) {
        SCOPED_TRACE(std::string(w.buttonClosed));
        const QImage b = picture(w.buttonClosed);
        // Centre of the glowing (blue-dominant, bright) pixels relative to the picture's centre.
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) {
                const QRgb c = b.pixel(x, y);
                if (qBlue(c) > 180 && qBlue(c) > qRed(c) + 80) {
                    sx += x - (b.width() - 1) / 2.0;
                    sy += y - (b.height() - 1) / 2.0;
                    ++n;
                }
            }
        ASSERT_GT(n, 5);
        EXPECT_GT(sx / n * w.openStep.x, 0.3) << "points the wrong way across";
        EXPECT_GT(sy / n * w.openStep.y, 0.3) << "points the wrong way up or down";
    }
}

TEST(SkinLayout, ResetHintIsASmallBadge) {
    const QImage r = picture(geo::kResetPicture);
    EXPECT_LE(r.width(), 64);
    EXPECT_LE(r.height(), 24);
    double lo = 255, hi = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            lo = std::min(lo, skintest::luminance(r.pixel(x, y)));
            hi = std::max(hi, skintest::luminance(r.pixel(x, y)));
        }
    EXPECT_GT(hi - lo, 60) << "a blank hint";
}

}  // namespace
}  // namespace kestrelon
