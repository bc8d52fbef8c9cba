// SPDX-License-Identifier: GPL-3.0-or-later
// Surface finishes on opaque images: brushed metal, bevels that follow any mask's edge, crisp
// outlines, and the final cut of the picture to its outline.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

#include "tools/skingen/mask.h"

namespace kestrelon::skingen {

// Blends `c` towards white (amount > 0) or black (amount < 0); |amount| <= 1.
QColor shaded(const QColor& c, float amount);
QRgb shadedRgb(QRgb c, float amount);
QColor mixed(const QColor& a, const QColor& b, float t);

// Fills the mask's pixels with brushed metal of base colour `base`: horizontal streaks of
// `grain` levels and a top-to-bottom fall of `fall` (lighter at the top of `span`).
struct MetalFinish {
    QColor base;
    float grain = 6;
    float fall = 0.12f;
    std::uint64_t seed = 1;
    bool vertical = false;  // streaks run top to bottom
};
void fillBrushed(QImage& img, const Mask& where, const MetalFinish& finish);

// Concentric brushing around `centre` (knobs, the hub).
void fillSpun(QImage& img, const Mask& where, QPointF centre, const MetalFinish& finish);

// Lights the rim of a shape as a rounded bevel `width` pixels wide, lit from the upper left.
// A sunken bevel is lit the other way round (a pocket's upper wall lies in shadow).
struct Bevel {
    float width = 4;
    float light = 0.45f;
    float shade = 0.5f;
    bool sunken = false;
};
void applyBevel(QImage& img, const Mask& shape, const Bevel& bevel);

// Darkens the outermost pixels of the shape towards `edge`, more where the anti-aliased shape
// covered less of the pixel, so curves look smooth against any desktop.
void applyOutline(QImage& img, const Mask& shape, const QColor& edge, float strength = 0.8f);

// Soft shadow cast inside a sunken shape by its upper-left rim.
void applyInnerShadow(QImage& img, const Mask& shape, float depth, float strength);

// Every pixel outside `shape` becomes the key colour; no pixel inside keeps it by accident.
void cutToOutline(QImage& img, const Mask& shape, const QColor& key);

}  // namespace kestrelon::skingen
