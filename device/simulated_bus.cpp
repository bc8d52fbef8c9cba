// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated bus: lists the simulated panel and opens it.
#include "device/simulated_bus.h"

namespace kestrelon {

namespace {

// A transport that shares the bus's panel.
class SharedPanelTransport final : public Transport {
public:
    explicit SharedPanelTransport(std::shared_ptr<SimulatedPanel> panel)
        : panel_(std::move(panel)) {}
    int write(std::span<const uint8_t> report) override { return panel_->write(report); }
    int getFeatureReport(std::span<uint8_t> buffer) override {
        return panel_->getFeatureReport(buffer);
    }
    ReportLengths reportLengths() const override { return panel_->reportLengths(); }

private:
    std::shared_ptr<SimulatedPanel> panel_;
};

}  // namespace

SimulatedBus::SimulatedBus(const Clock& clock, SimulatedPanelOptions options)
    : panel_(std::make_shared<SimulatedPanel>(clock, options)) {}

std::vector<HidDeviceInfo> SimulatedBus::enumerate() {
    if (!panel_->plugged()) return {};
    HidDeviceInfo info;
    info.path = kPath;
    info.vendor_id = kPanelVendorId;
    info.product_id = kPanelProductId;
    info.release = 0x0100;
    info.manufacturer = "Kestrelon";
    info.product = "Simulated front panel";
    return {info};
}

std::unique_ptr<Transport> SimulatedBus::open(const HidDeviceInfo& device, std::string& error) {
    if (device.path != kPath || !panel_->plugged()) {
        error = "no simulated device at " + device.path;
        return nullptr;
    }
    return std::make_unique<SharedPanelTransport>(panel_);
}

}  // namespace kestrelon
