// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's three pointer shapes: arrow, pointing hand and four-way move.
#pragma once

#include <QImage>
#include <QPoint>
#include <string_view>
#include <vector>

namespace kestrelon::skingen {

struct CursorArt {
    std::string_view file;
    QImage image;  // 32 x 32 with alpha
    QPoint hotspot;
};

std::vector<CursorArt> drawCursors();

}  // namespace kestrelon::skingen
