// SPDX-License-Identifier: GPL-3.0-or-later
// Digits are ORed over their panels: the panels must be dark wherever a character can land, cut
// from the surface they are copied onto, and every glyph must light up clearly and uniquely.
#include <gtest/gtest.h>

#include <set>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::brightest;
using skintest::picture;

constexpr int kDarkLimit = 48;  // brightest channel allowed under a digit

struct Panel {
    std::string_view file;
    geo::Surface surface;
    geo::Point at;
    const geo::Font* font;
    std::vector<int> cellX;  // left edges of the character cells
    int cellY;
};

std::vector<int> rightAligned(int rightmost) {
    std::vector<int> xs;
    for (int x = rightmost; x + geo::kSmallFont.cell.w > 0; x -= geo::kSmallFont.advance)
        xs.push_back(x);
    return xs;
}

std::vector<int> leftAligned(const geo::Font& f) {
    std::vector<int> xs;
    for (int i = 0; i < 5; ++i) xs.push_back(i * f.advance);
    return xs;
}

std::vector<Panel> panels() {
    std::vector<Panel> list;
    for (const auto& r : geo::kReadouts)
        list.push_back({r.background, r.target, r.at, &geo::kSmallFont, rightAligned(r.rightmost.x),
                        r.rightmost.y});
    for (const auto& h : geo::kHostReadouts)
        list.push_back({h.background, geo::Surface::Window, h.at, &geo::kSmallFont,
                        rightAligned(h.rightmost.x), h.rightmost.y});
    list.push_back({geo::kClockBackground, geo::Surface::Window, geo::kClockAt, &geo::kMediumFont,
                    leftAligned(geo::kMediumFont), 0});
    list.push_back({geo::kAlarmBackground, geo::Surface::Lcd, geo::kAlarmPanelOnLcd,
                    &geo::kBigFont, leftAligned(geo::kBigFont), 0});
    return list;
}

std::vector<std::string> glyphFiles(const geo::Font& f) {
    std::vector<std::string> files;
    for (char d = '0'; d <= '9'; ++d) files.push_back(std::string(f.prefix) + d + ".bmp");
    for (std::string_view extra : {f.colonFile, f.dotFile, f.dashFile})
        if (!extra.empty()) files.emplace_back(extra);
    return files;
}

TEST(SkinReadouts, PanelsAreDarkUnderEveryCharacterCell) {
    for (const Panel& p : panels()) {
        SCOPED_TRACE(std::string(p.file));
        const QImage bg = picture(p.file);
        ASSERT_FALSE(bg.isNull());
        // At least four small characters (or the five of a time) fit.
        const int fitting = int(std::count_if(p.cellX.begin(), p.cellX.end(), [&](int x) {
            return x >= 0 && x + p.font->cell.w <= bg.width();
        }));
        EXPECT_GE(fitting, std::string_view(p.file).starts_with("shd") ? 3 : 4);
        EXPECT_GE(bg.height(), p.cellY + p.font->cell.h);
        for (int cx : p.cellX)
            for (int y = p.cellY; y < p.cellY + p.font->cell.h; ++y)
                for (int x = std::max(cx, 0); x < std::min(cx + p.font->cell.w, bg.width()); ++x)
                    ASSERT_LE(brightest(bg.pixel(x, y)), kDarkLimit) << "at " << x << "," << y;
    }
}

TEST(SkinReadouts, PanelsAreCutFromTheSurfaceTheyAreCopiedOnto) {
    const QImage mainBack = picture(geo::kSkinPictureFile), lcd = picture(geo::kLcdPictureFile);
    std::vector<Panel> list = panels();
    list.push_back({geo::kVolumeBackground, geo::Surface::Lcd, geo::kVolumeOnLcd, nullptr, {}, 0});
    for (const Panel& p : list) {
        SCOPED_TRACE(std::string(p.file));
        const QImage bg = picture(p.file);
        const QImage& surface = p.surface == geo::Surface::Lcd ? lcd : mainBack;
        EXPECT_EQ(surface.copy(QRect(QPoint(p.at.x, p.at.y), bg.size())), bg);
    }
}

TEST(SkinReadouts, GlyphsAreDistinctAndLightUpClearlyOverTheirPanels) {
    for (const geo::Font* f : {&geo::kSmallFont, &geo::kMediumFont, &geo::kBigFont}) {
        std::set<QByteArray> patterns;
        for (const std::string& file : glyphFiles(*f)) {
            SCOPED_TRACE(file);
            const QImage g = picture(file);
            ASSERT_EQ(g.width(), f->cell.w);
            ASSERT_EQ(g.height(), f->cell.h);
            QByteArray lit;
            int litCount = 0;
            for (int y = 0; y < g.height(); ++y)
                for (int x = 0; x < g.width(); ++x) {
                    const QRgb c = g.pixel(x, y);
                    const bool on = (c & 0xffffff) != 0;
                    lit.append(on ? '#' : '.');
                    litCount += on;
                    // Lit pixels glow well above any panel; the rest is pure black.
                    if (on) {
                        EXPECT_GE(skintest::luminance(c), 120) << x << "," << y;
                    }
                }
            EXPECT_GE(litCount, 2);
            EXPECT_TRUE(patterns.insert(lit).second) << "same pattern as another glyph";
        }
    }
}

}  // namespace
}  // namespace kestrelon
