// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the panel on a HID bus: the first interface in enumeration order with the panel's
// vendor and product that opens is used; later ones are never opened.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/transport.h"

namespace kestrelon {

struct PanelSearch {
    enum class Outcome {
        Opened,        // a panel is open in `transport`
        NoPanel,       // no interface carries the panel's vendor and product
        CouldNotOpen,  // panels were found, but none of them opened (see `errors`)
    };

    std::unique_ptr<Transport> transport;
    HidDeviceInfo device;             // the panel opened
    int matches_tried = 0;            // panel interfaces the walk tried to open
    std::vector<std::string> errors;  // "path: why" for each panel interface that did not open

    Outcome outcome() const;
    bool found() const { return transport != nullptr; }
};

// One walk over `bus.enumerate()`; the version number is not looked at.
PanelSearch FindDevice(HidBus& bus);

}  // namespace kestrelon
