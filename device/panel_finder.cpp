// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over the bus that finds and opens the panel.
#include "device/panel_finder.h"

namespace kestrelon {

PanelSearch::Outcome PanelSearch::outcome() const {
    if (transport) return Outcome::Opened;
    return matches_tried == 0 ? Outcome::NoPanel : Outcome::CouldNotOpen;
}

PanelSearch FindDevice(HidBus& bus) {
    PanelSearch search;
    for (const HidDeviceInfo& info : bus.enumerate()) {
        if (info.vendor_id != kPanelVendorId || info.product_id != kPanelProductId) continue;
        ++search.matches_tried;
        std::string error;
        std::unique_ptr<Transport> transport = bus.open(info, error);
        if (!transport) {
            search.errors.push_back(info.path + ": " + (error.empty() ? "could not open" : error));
            continue;
        }
        search.transport = std::move(transport);
        search.device = info;
        break;
    }
    return search;
}

}  // namespace kestrelon
