// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures cut from the finished surfaces: readout and panel backgrounds, icons, buttons,
// indicators. Each is the crop of the surface it lands on with its control drawn over it, so
// it blends in seamlessly.
#pragma once

#include <QImage>

#include "tools/skingen/skin_writer.h"

namespace kestrelon::skingen {

// Writes every cut picture and draws each group's default state (plain icons, Celsius, automatic
// fans, backlight off, alarm off, link off) into `mainBack` and `lcd`.
void writePieces(SkinWriter& out, QImage& mainBack, QImage& lcd);

}  // namespace kestrelon::skingen
