// SPDX-License-Identifier: GPL-3.0-or-later
// The window's outline and the parts it is made of, as hard-edged masks on the 660 x 441 skin.
#pragma once

#include <QRect>
#include <array>

#include "skin/geometry.h"
#include "tools/skingen/mask.h"

namespace kestrelon::skingen {

// The first click rectangle of a control in the click table.
QRect controlRect(geo::Control control);

struct Outline {
    Mask shape;                // everything inside the window
    Mask sidePanel;            // the slab right of the composed block, ears included
    std::array<Mask, 2> ears;  // upper and lower grab ears (with their grooves)
    std::array<Mask, 2> earGrooves;
    Mask recess;                // the sunken bay of the wings and LCD, with the four docks
    std::array<Mask, 4> docks;  // where each open wing parks, in kWings order
    Mask leftTab;               // the tab with the minimise and close buttons
    Mask webTab;                // the maker's web link key
};

const Outline& windowOutline();

}  // namespace kestrelon::skingen
