// SPDX-License-Identifier: GPL-3.0-or-later
// The history window's colours, taken from the skin's (tools/skingen/palette.h): the case's
// recess metal around the charts, the displays' dark glass under them, their cyan glow for the
// text and the frames, and the skin's accent lights for the sensors.
#pragma once

#include <QColor>

#include "core/channel.h"

namespace kestrelon::chart {

inline const QColor kWindowBack{30, 33, 37};       // the skin's recess metal
inline const QColor kPlotBack{4, 10, 15};          // the displays' glass
inline const QColor kGrid{20, 44, 55};             // a little above the unlit segments' ghost
inline const QColor kFrame{30, 84, 104};           // the glow's dim shade: frames and scale marks
inline const QColor kAxisText{62, 160, 190};       // the glow's soft shade: labels
inline const QColor kTitleText{96, 222, 255};      // the glow itself
inline const QColor kCursor{220, 245, 255};        // the pointer's time line
inline const QColor kReadoutBack{9, 20, 27, 235};  // the glass's upper shade, nearly opaque

// One colour per sensor: the glow, the power lamp's green, the purple backlight and an amber of
// the same brightness, far enough apart to tell four lines apart.
inline const PerChannel<QColor> kSensorColour{{
    QColor(96, 222, 255),
    QColor(86, 240, 120),
    QColor(190, 100, 255),
    QColor(255, 184, 64),
}};
// The min–max band: the sensor's colour over the glass at this opacity.
inline constexpr int kBandAlpha = 70;

}  // namespace kestrelon::chart
