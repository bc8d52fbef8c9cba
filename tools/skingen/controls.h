// SPDX-License-Identifier: GPL-3.0-or-later
// Painters for the skin's controls and indicators: metal round buttons, buttons on the display
// glass (lit and unlit), icons, lamps and the empty digit cells of readouts.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <string_view>

#include "skin/geometry.h"
#include "tools/skingen/pixel_font.h"

namespace kestrelon::skingen {

enum class RoundGlyph { Minimise, Close };
// A small domed metal button filling `r`, its glyph in `glyph`.
void paintRoundButton(QImage& img, const QRect& r, RoundGlyph g, const QColor& glyph);

// What a button on the glass shows.
enum class Face { Text, Picture, ArrowUp, ArrowDown };
struct GlassButton {
    Face face = Face::Text;
    std::string_view text;  // for Face::Text
    Symbol symbol{};        // for Face::Picture
    QColor accent;          // the colour it lights in
    bool lit = false;
    int textScale = 1;
};
// A button drawn on the display glass: unlit an outline with a dim face, lit a glowing plate
// with dark lettering.
void paintGlassButton(QImage& img, const QRect& r, const GlassButton& b);

// The empty cells of a small-font readout whose last character starts at `rightmost`.
void paintReadoutGhosts(QImage& img, QPoint at, geo::Point rightmost, QSize size);

// Sensor, fan and limit icons: a word with the row's symbol; highlighted ones are inverted.
void paintIcon(QImage& img, const QRect& r, geo::IconRow row, Channel channel, bool highlighted);

// A round lamp: on it glows in `colour`, off it is a dark lens.
void paintLamp(QImage& img, const QRect& r, const QColor& colour, bool on);

// Temperature unit indicator ("°C" or "°F") on the side display.
void paintUnit(QImage& img, const QRect& r, bool fahrenheit);

// The alarm switch: a bell, bright when the alarm is on, a dim crossed bell when off.
void paintAlarmSwitch(QImage& img, const QRect& r, bool on);

}  // namespace kestrelon::skingen
