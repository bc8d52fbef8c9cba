// SPDX-License-Identifier: GPL-3.0-or-later
// Bold seven-row pixel font for the captions that must read at a glance at 1x: the wing names and
// the web key. Stems are two pixels wide, so the letters stay solid on brushed metal.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <string_view>

namespace kestrelon::skingen {

constexpr int kCaptionHeight = 7;
constexpr int kCaptionSpacing = 2;  // blank columns between letters

// Width of `text` in pixels (upper-case letters and spaces; other characters are skipped).
int captionWidth(std::string_view text);

// Paints the caption's pixels in `colour` with its top-left corner at (x, y), nothing else: no
// blending, so every pixel is either untouched or exactly `colour`.
void paintCaption(QImage& img, int x, int y, std::string_view text, const QColor& colour);

// The rectangle of `text` centred on `centre`.
QRect captionRect(QPoint centre, std::string_view text);

// A caption lit on a dark ground: a one-pixel shadow of `shadow` to the lower right, then the
// letters. Returns the rectangle of the letters.
QRect paintLitCaption(QImage& img, QPoint centre, std::string_view text, const QColor& lit,
                      const QColor& shadow);

}  // namespace kestrelon::skingen
