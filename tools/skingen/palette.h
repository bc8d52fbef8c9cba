// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's colours: graphite metal, dark glass and the cyan glow of the displays.
#pragma once

#include <QColor>

namespace kestrelon::skingen {

// Outside the window's outline. Nothing inside the outline may have exactly this colour.
inline const QColor kKey{255, 0, 255};

// Case metal, from the deepest recess to the brightest edge highlight.
inline const QColor kOutline{8, 9, 11};
inline const QColor kCaseMetal{50, 54, 60};
inline const QColor kPanelMetal{46, 50, 56};
inline const QColor kRecessMetal{30, 33, 37};
inline const QColor kWingMetal{64, 69, 76};
inline const QColor kHubMetal{78, 83, 90};
inline const QColor kEngraveDark{18, 20, 23};
inline const QColor kEngraveLight{92, 98, 106};

// Display glass and what lights up on it. Everything digits are ORed over stays near black.
inline const QColor kGlassTop{9, 20, 27};
inline const QColor kGlassBottom{4, 10, 15};
inline const QColor kSideGlass{4, 9, 13};
inline const QColor kGlow{96, 222, 255};      // lit digit and symbol pixels
inline const QColor kGlowSoft{62, 160, 190};  // labels and unlit control outlines
inline const QColor kGlowDim{30, 84, 104};    // frames and scale marks
inline const QColor kGhost{12, 27, 34};       // unlit segments behind the digits
inline const QColor kGhostDots{8, 19, 25};    // unlit dot-matrix cells
inline const QColor kInkOnLit{4, 14, 20};     // text on a lit button
// "MB", "GB" after the host readouts.
inline const QColor kUnitWord = kGlowDim.lighter(170);

// Accents.
inline const QColor kLampGreen{86, 240, 120};
inline const QColor kCloseRed{255, 84, 70};
inline const QColor kBacklightOff{200, 210, 218};
inline const QColor kBacklightRed{255, 74, 58};
inline const QColor kBacklightBlue{70, 150, 255};
inline const QColor kBacklightPurple{190, 100, 255};

}  // namespace kestrelon::skingen
