// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the panel: first panel interface in enumeration order that opens wins, later ones are
// never opened, failures are skipped and told apart from an absent panel.
#include "device/panel_finder.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/fakes.h"

namespace kestrelon {

namespace {

class FakeBus final : public HidBus {
  public:
    std::vector<HidDeviceInfo> devices;
    std::set<std::string> failing;  // paths whose open fails
    std::vector<std::string> opened;

    void add(std::string path, uint16_t vendor, uint16_t product, uint16_t release = 0x0100) {
        HidDeviceInfo info;
        info.path = std::move(path);
        info.vendor_id = vendor;
        info.product_id = product;
        info.release = release;
        devices.push_back(info);
    }
    std::vector<HidDeviceInfo> enumerate() override { return devices; }
    std::unique_ptr<Transport> open(const HidDeviceInfo& device, std::string& error) override {
        opened.push_back(device.path);
        if (failing.count(device.path)) {
            error = "permission denied";
            return nullptr;
        }
        return std::make_unique<test::ScriptedTransport>();
    }
};

}  // namespace

TEST(PanelFinder, FirstMatchingInterfaceWinsAndLaterOnesAreNeverOpened) {
    FakeBus bus;
    bus.add("/dev/hidraw0", 0x046D, 0xC52B);                           // another device
    bus.add("/dev/hidraw1", kPanelVendorId, 0xA103);                   // same vendor, other product
    bus.add("/dev/hidraw2", 0x1268, kPanelProductId);                  // other vendor, same product
    bus.add("/dev/hidraw3", kPanelVendorId, kPanelProductId, 0x0999);  // any version
    bus.add("/dev/hidraw4", kPanelVendorId, kPanelProductId);

    PanelSearch search = FindDevice(bus);
    ASSERT_TRUE(search.found());
    EXPECT_EQ(search.outcome(), PanelSearch::Outcome::Opened);
    EXPECT_EQ(search.device.path, "/dev/hidraw3");
    EXPECT_EQ(bus.opened, (std::vector<std::string>{"/dev/hidraw3"}));
    EXPECT_TRUE(search.errors.empty());
}

TEST(PanelFinder, APanelThatDoesNotOpenIsSkipped) {
    FakeBus bus;
    bus.add("/dev/hidraw5", kPanelVendorId, kPanelProductId);
    bus.add("/dev/hidraw6", kPanelVendorId, kPanelProductId);
    bus.failing = {"/dev/hidraw5"};

    PanelSearch search = FindDevice(bus);
    ASSERT_TRUE(search.found());
    EXPECT_EQ(search.device.path, "/dev/hidraw6");
    EXPECT_EQ(search.errors, (std::vector<std::string>{"/dev/hidraw5: permission denied"}));
}

TEST(PanelFinder, NoPanelAndPanelThatCannotBeOpenedAreToldApart) {
    FakeBus none;
    none.add("/dev/hidraw0", 0x046D, 0xC52B);
    PanelSearch absent = FindDevice(none);
    EXPECT_FALSE(absent.found());
    EXPECT_EQ(absent.outcome(), PanelSearch::Outcome::NoPanel);
    EXPECT_TRUE(none.opened.empty());

    FakeBus locked;
    locked.add("/dev/hidraw7", kPanelVendorId, kPanelProductId);
    locked.failing = {"/dev/hidraw7"};
    PanelSearch closed = FindDevice(locked);
    EXPECT_FALSE(closed.found());
    EXPECT_EQ(closed.outcome(), PanelSearch::Outcome::CouldNotOpen);
    EXPECT_EQ(closed.errors.size(), 1u);
}

}  // namespace kestrelon
