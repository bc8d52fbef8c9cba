// SPDX-License-Identifier: GPL-3.0-or-later
// A renderer over the synthetic skin, in virtual time, counting how often the window is shown.
// Every show is checked against the one before (ShowCheck).
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <utility>
#include <vector>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "skin/skin_renderer.h"
#include "tests/support/synthetic_skin.h"

namespace kestrelon::test {

class RendererTest : public testing::Test {
protected:
    SyntheticSkin skin;
    MonitorState state;
    VirtualTime time;
    int shows = 0;
    SkinRenderer renderer{state, skin.dir(), time, [this](const QRect& changed) {
                              ++shows;
                              showCheck_.shown(renderer.windowPicture(), changed);
                          }};

    void TearDown() override { EXPECT_EQ(showCheck_.unnamedChange(), "") << "unnamed change"; }

    QRgb colour(std::string_view file) const { return skin.colour(file); }

    // What a panel must look like: its background colour with each (x, glyph file) ORed over it
    // as a solid cell at (x, y), clipped to the panel.
    QImage panel(std::string_view background, int y, QSize cell,
                 const std::vector<std::pair<int, std::string>>& glyphs) const {
        QImage image(skin.size(background), QImage::Format_RGB32);
        image.fill(colour(background));
        for (const auto& [x, file] : glyphs)
            for (int j = 0; j < cell.height(); ++j)
                for (int i = 0; i < cell.width(); ++i)
                    if (image.rect().contains(x + i, y + j))
                        image.setPixel(x + i, y + j, colour(background) | colour(file));
        return image;
    }

private:
    ShowCheck showCheck_;
};

}  // namespace kestrelon::test
