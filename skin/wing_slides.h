// SPDX-License-Identifier: GPL-3.0-or-later
// The wing slides: the frame positions of opening and closing, and the paced animation.
#pragma once

#include <vector>

#include "skin/geometry.h"

namespace kestrelon {

class SkinRenderer;

// Pause between two frames of a slide, so that a slide of 42 frames lasts about a third of a
// second instead of finishing within one screen refresh.
inline constexpr int kWingFramePauseMs = 8;

inline constexpr int kWingOpening = 0;
inline constexpr int kWingClosing = 1;

// Top-left corner of the wing picture for every frame of the slide, the first at the start rest
// position and the last at the end one. Empty for a direction other than opening or closing.
std::vector<geo::Point> WingSlidePositions(const geo::Wing& wing, int direction);

// Runs the slide of one wing: one frame per position, kWingFramePauseMs apart through the
// renderer's waiter. Draws nothing for a direction other than opening or closing.
void AnimateWing(SkinRenderer& renderer, geo::WingId wing, int direction);

}  // namespace kestrelon
