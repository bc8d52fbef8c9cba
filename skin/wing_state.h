// SPDX-License-Identifier: GPL-3.0-or-later
// The wing tables looked up by wing, and each wing's open flag in the monitor state.
#pragma once

#include "core/monitor_state.h"
#include "skin/geometry.h"

namespace kestrelon {

inline const geo::Wing& wingGeometry(geo::WingId id) {
    for (const geo::Wing& wing : geo::kWings)
        if (wing.id == id) return wing;
    return geo::kWings.front();
}

inline bool& wingOpen(MonitorState& state, geo::WingId id) {
    switch (id) {
        case geo::WingId::UpperLeft:
            return state.ui.upperLeftWingOpen;
        case geo::WingId::LowerLeft:
            return state.ui.lowerLeftWingOpen;
        case geo::WingId::UpperRight:
            return state.ui.upperRightWingOpen;
        case geo::WingId::LowerRight:
            break;
    }
    return state.ui.lowerRightWingOpen;
}

}  // namespace kestrelon
