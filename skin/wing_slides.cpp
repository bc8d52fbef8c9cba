// SPDX-License-Identifier: GPL-3.0-or-later
// Wing slides: positions in 2-pixel diagonal steps, each frame drawn by the renderer and paced.
#include "skin/wing_slides.h"

#include "skin/skin_renderer.h"
#include "skin/wing_state.h"

namespace kestrelon {

std::vector<geo::Point> WingSlidePositions(const geo::Wing& wing, int direction) {
    std::vector<geo::Point> positions;
    if (direction != kWingOpening && direction != kWingClosing) return positions;
    const bool opening = direction == kWingOpening;
    const geo::Point start = opening ? wing.closed : wing.open;
    const int sign = opening ? 1 : -1;
    positions.reserve(static_cast<std::size_t>(wing.frames));
    for (int i = 0; i < wing.frames; ++i)
        positions.push_back(
            {start.x + sign * i * wing.openStep.x, start.y + sign * i * wing.openStep.y});
    return positions;
}

void AnimateWing(SkinRenderer& renderer, geo::WingId id, int direction) {
    const std::vector<geo::Point> positions = WingSlidePositions(wingGeometry(id), direction);
    const bool opening = direction == kWingOpening;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (i > 0) renderer.waiter().delay(kWingFramePauseMs);
        renderer.DrawWingFrame(id, positions[i], opening);
    }
}

}  // namespace kestrelon
