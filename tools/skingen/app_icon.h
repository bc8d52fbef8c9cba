// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own icon (application menu, window and tray): a graphite case with a backlit
// display showing a reading and a level bar, drawn separately for each size it ships in.
#pragma once

#include <QImage>
#include <array>
#include <string>
#include <string_view>

namespace kestrelon::skingen {

// Sizes in the icon theme's layout, each drawn for its size; the smallest are pixel art.
inline constexpr std::array<int, 8> kAppIconSizes{16, 22, 24, 32, 48, 64, 128, 256};
inline constexpr int kTrayIconSize = 24;
inline constexpr std::string_view kTrayIconFile = "kestrelon-tray.png";

// "icons/hicolor/NxN/apps/kestrelon.png", relative to the skin directory.
std::string appIconFile(int size);

// The icon at `size` x `size`, ARGB, transparent around the case.
QImage drawAppIcon(int size);

// The hand-drawn pixel-art icon at `size`; a null image where none is drawn by hand.
QImage pixelArtAppIcon(int size);

}  // namespace kestrelon::skingen
