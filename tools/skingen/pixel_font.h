// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-drawn pixel fonts: the three digit fonts of the readouts (glyph files are cut from them)
// and a tiny 3 x 5 letter font for the labels painted on the skin.
#pragma once

#include <QColor>
#include <QImage>
#include <string_view>

#include "skin/geometry.h"

namespace kestrelon::skingen {

// The glyph of `c` in `font` at the font's cell size: black, with lit pixels in `lit`.
// A null image when the font has no glyph for `c`.
QImage digitGlyph(const geo::Font& font, char c, const QColor& lit);

// Every character the font can draw, in the order of its files.
std::string_view fontCharacters(const geo::Font& font);

// The glyph file of `c` in `font` ("s7.bmp", "mcom.bmp", ...); empty when it has none.
std::string glyphFile(const geo::Font& font, char c);

// Paints the unlit segments of a digit cell (all segments of the seven-segment fonts, the
// colon's dots when `colon`) at `at`, for the "negative" display look.
void paintGhostCell(QImage& img, const geo::Font& font, QPoint at, bool colon, const QColor& dim);

// Label font: upper-case letters, digits and a few signs ("°", ".", "-", "/", ":", "z").
// Each glyph pixel becomes a `scale` x `scale` block.
int labelWidth(std::string_view text, int scale = 1);
constexpr int kLabelHeight = 5;
void paintLabel(QImage& img, int x, int y, std::string_view text, const QColor& colour,
                int scale = 1);
// Engraved label: dark letters with a light edge below them.
void engraveLabel(QImage& img, int x, int y, std::string_view text, const QColor& dark,
                  const QColor& light, int scale = 1);

// Small pixel pictures drawn from the same kind of hand-made bitmaps.
enum class Symbol { Fan, Thermometer, Bell, Speaker, Globe, DegreesC, DegreesF };
QSize symbolSize(Symbol s);
void paintSymbol(QImage& img, int x, int y, Symbol s, const QColor& colour);

}  // namespace kestrelon::skingen
