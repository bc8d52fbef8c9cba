// SPDX-License-Identifier: GPL-3.0-or-later
// The skin picture "mainback.bmp": the case front around the LCD, the wing docks, the left tab
// with the minimise and close buttons, the web link key and the side panel with its display.
#pragma once

#include <QImage>

namespace kestrelon::skingen {

// The bare skin: outline, metal, docks, side panel display with its labels and the empty
// readout windows. Separate pictures (icons, lamps, readouts) are cut from this.
QImage drawMainBack();

// The side panel's display glass on the window.
QRect sideDisplayRect();

}  // namespace kestrelon::skingen
