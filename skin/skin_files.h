// SPDX-License-Identifier: GPL-3.0-or-later
// The complete list of files a skin directory must hold, with the sizes that are fixed.
#pragma once

#include <string>
#include <vector>

#include "skin/geometry.h"

namespace kestrelon {

struct SkinFile {
    std::string name;
    geo::Size size;  // {0, 0} where the picture's own size is the skin's choice
    bool picture;    // a BMP the renderer decodes (else a cursor or sound)
};

// Every file, each named once, pictures first.
const std::vector<SkinFile>& skinFiles();

}  // namespace kestrelon
