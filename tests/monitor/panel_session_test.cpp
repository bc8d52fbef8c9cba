// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up's device steps against the simulated panel in virtual time, and the close.
#include "monitor/panel_session.h"

#include <gtest/gtest.h>

#include "device/simulated_bus.h"

namespace kestrelon {
namespace {

struct EmptyBus final : HidBus {
    int opens = 0;
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string&) override {
        ++opens;
        return nullptr;
    }
};

TEST(PanelSession, StartPushesTheSettingsJustLoadedAfterA50msWait) {
    VirtualTime time;
    SimulatedBus bus(time);
    MonitorState state;
    state.settings.limitCelsius[Channel::Cpu] = 60, state.settings.limitCelsius[Channel::Hdd] = 55,
    state.settings.limitCelsius[Channel::Vga] = 50, state.settings.limitCelsius[Channel::Case] = 45;
    state.settings.manualFanSpeed[Channel::Cpu] = 2000;
    state.settings.backlight = Backlight::Purple;
    state.panel.saveToEeprom = false;
    PanelSession session(state, time);
    EXPECT_EQ(session.Start(bus), PanelSearch::Outcome::Opened);
    EXPECT_TRUE(state.panel.present);
    EXPECT_TRUE(state.panel.saveToEeprom);

    const SimulatedPanel& panel = bus.panel();
    ASSERT_FALSE(panel.frames().empty());
    EXPECT_GE(panel.frames().front().time, 0.050);  // nothing goes out before the first wait
    EXPECT_EQ(std::vector<uint8_t>(panel.writeOrder().begin(), panel.writeOrder().end()),
              (std::vector<uint8_t>{0x29, 0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x28}));
    EXPECT_EQ(panel.registerBytes(0x20)->at(0), 60);
    EXPECT_EQ(panel.registerBytes(0x20)->at(3), 45);
    EXPECT_EQ(panel.registerBytes(0x2B)->at(0), 0xD0);  // 2000, low byte first
    EXPECT_EQ(panel.registerBytes(0x29)->at(4), 3);     // backlight purple
    EXPECT_EQ(panel.registerBytes(0x29)->at(0) & 0x04, 0x04);
    EXPECT_GE(time.monotonicSeconds(), 1.8);
}

TEST(PanelSession, WithoutAPanelNothingIsSentAndClosingTwiceIsHarmless) {
    VirtualTime time;
    EmptyBus bus;
    MonitorState state;
    PanelSession session(state, time);
    EXPECT_EQ(session.Start(bus), PanelSearch::Outcome::NoPanel);
    EXPECT_FALSE(state.panel.present);
    EXPECT_EQ(session.protocol(), nullptr);
    EXPECT_EQ(bus.opens, 0);
    EXPECT_EQ(time.waits(), 1);  // the 50 ms before the search, and no exchange
    session.CloseDevice();
    session.CloseDevice();
}

TEST(PanelSession, CloseReleasesThePanelOnce) {
    VirtualTime time;
    SimulatedBus bus(time);
    MonitorState state;
    PanelSession session(state, time);
    ASSERT_EQ(session.Open(bus), PanelSearch::Outcome::Opened);
    session.CloseDevice();
    EXPECT_EQ(session.link(), nullptr);
    EXPECT_FALSE(session.search().found());
    session.CloseDevice();              // nothing left to release
    EXPECT_TRUE(state.panel.present);  // the flag keeps its start-up value for the run
}

}  // namespace
}  // namespace kestrelon
