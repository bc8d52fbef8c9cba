// SPDX-License-Identifier: GPL-3.0-or-later
// The LCD picture "blcd.bmp": four glass panes between a metal cross, holding the controls of
// the four wings' quadrants. Controls without pictures of their own are drawn into it.
#pragma once

#include <QImage>

namespace kestrelon::skingen {

// The bare LCD: panes, cross, labels, the alarm set/up/down and the set-point arrows, the empty
// readout and alarm cells and the volume scale. Pictures of the other controls are cut from it.
QImage drawLcd();

}  // namespace kestrelon::skingen
