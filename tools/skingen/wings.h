// SPDX-License-Identifier: GPL-3.0-or-later
// The wing pictures, their corner buttons and the centre hub, each with its mask (white where the
// background shows, black where the picture shows; the picture is black outside its shape).
#pragma once

#include <QImage>
#include <QPainterPath>

#include "skin/geometry.h"

namespace kestrelon::skingen {

struct Sprite {
    QImage picture;
    QImage mask;
};

Sprite drawWing(const geo::Wing& wing);
// The corner button of a wing closed at `wing`: a round knob whose chevron points to its corner.
Sprite drawWingButton(const geo::Wing& wing);
Sprite drawCentre();

// Draws a sprite the way the renderer does: (background AND mask) OR picture.
void blitSprite(QImage& target, const Sprite& s, QPoint at);

}  // namespace kestrelon::skingen
