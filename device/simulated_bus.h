// SPDX-License-Identifier: GPL-3.0-or-later
// A HID bus with one simulated panel on it, at path "simulated", for the demo and the tests.
#pragma once

#include <memory>

#include "device/simulated_panel.h"
#include "device/transport.h"

namespace kestrelon {

class SimulatedBus final : public HidBus {
public:
    static constexpr const char* kPath = "simulated";

    explicit SimulatedBus(const Clock& clock, SimulatedPanelOptions options = {});

    std::vector<HidDeviceInfo> enumerate() override;
    // Every open hands out a transport onto the one panel; it stays usable after the bus is gone.
    std::unique_ptr<Transport> open(const HidDeviceInfo& device, std::string& error) override;

    SimulatedPanel& panel() { return *panel_; }

private:
    std::shared_ptr<SimulatedPanel> panel_;
};

}  // namespace kestrelon
