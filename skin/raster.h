// SPDX-License-Identifier: GPL-3.0-or-later
// Raster primitives on 32-bit RGB surfaces: opaque copy, glyph AND/OR, masked sprite, boxes.
// Every one clips at all four edges of its target; nothing outside the target is ever touched.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace kestrelon {

// Copies the picture's full width and height to (x, y) of the target, replacing the pixels there.
void BlitPicture(QImage& target, const QImage& picture, int x, int y);

// Draws a glyph: the target rectangle at (x, y) of the glyph's size is ANDed with the same-sized
// top-left corner of `mask`, then ORed with the glyph. Where the glyph is larger than the mask
// the mask counts as white, so those pixels are simply ORed.
void BlitDigit(QImage& target, const QImage& glyph, const QImage& mask, int x, int y);

// Masked sprite: (background AND mask) OR picture over the picture's size at (left, top).
// Mask pixels beyond the mask's own size count as white (background kept).
void NoBlinkDraw(QImage& target, const QImage& picture, const QImage& mask, int left, int top);

// Copies `block` of `source` to the same place on `target` (both clipped).
void CopyBlock(QImage& target, const QImage& source, const QRect& block);

// Fills the box with corners (x0, y0) and (x1, y1), both included, in either order.
void FillBox(QImage& target, QPoint corner0, QPoint corner1, QRgb colour);

// Fills the disc of pixels (dx, dy) around the centre with dx² + dy² <= r² + r.
void FillDisc(QImage& target, QPoint centre, int radius, QRgb colour);

// The picture as 32-bit RGB (shares the data when it already is).
QImage asRgb32(const QImage& picture);

}  // namespace kestrelon
