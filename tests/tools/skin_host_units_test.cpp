// SPDX-License-Identifier: GPL-3.0-or-later
// The unit words after the memory and disk readouts: one picture per unit, each the same piece
// of the side panel with another word lit on it, the readout's own unit being what the window
// shows at start.
#include <gtest/gtest.h>

#include <set>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::brightest;
using skintest::picture;

TEST(SkinHostUnits, EachUnitIsItsOwnWordOnTheSamePieceOfPanel) {
    const QImage mainBack = picture(geo::kSkinPictureFile);
    for (const geo::HostUnits& u : geo::kHostUnits) {
        const QRect place(QPoint(u.at.x, u.at.y),
                          QSize(geo::kHostUnitSize.w, geo::kHostUnitSize.h));
        const QImage own = picture(u.pictures[0]);
        ASSERT_EQ(own.size(), place.size()) << u.pictures[0];
        EXPECT_EQ(mainBack.copy(place), own) << u.pictures[0] << " is what the window shows";
        std::set<QByteArray> words;
        for (std::string_view file : u.pictures) {
            SCOPED_TRACE(std::string(file));
            const QImage unit = picture(file);
            ASSERT_EQ(unit.size(), place.size());
            int lit = 0;
            QByteArray word;
            for (int y = 0; y < unit.height(); ++y)
                for (int x = 0; x < unit.width(); ++x) {
                    const bool on = brightest(unit.pixel(x, y)) > 100;  // the word, lit
                    if (!on && brightest(own.pixel(x, y)) <= 100) {
                        EXPECT_EQ(unit.pixel(x, y), own.pixel(x, y))
                            << "panel at " << x << "," << y;
                    }
                    lit += on;
                    word += on ? '#' : '.';
                }
            EXPECT_GE(lit, 8) << "a word is lit";
            words.insert(word);
        }
        EXPECT_EQ(words.size(), u.pictures.size()) << "every unit reads differently";
    }
}

TEST(SkinHostUnits, TheUnitWordsStayClearOfTheReadouts) {
    for (const geo::HostUnits& u : geo::kHostUnits) {
        const QRect place(QPoint(u.at.x, u.at.y),
                          QSize(geo::kHostUnitSize.w, geo::kHostUnitSize.h));
        for (const geo::HostReadout& h : geo::kHostReadouts) {
            const QImage panel = picture(h.background);
            EXPECT_FALSE(place.intersects(QRect(QPoint(h.at.x, h.at.y), panel.size())))
                << u.pictures[0] << " over " << h.background;
        }
    }
}

}  // namespace
}  // namespace kestrelon
