// A first start without a settings file: factory values with fan values from the panel's limits,
// saved and pushed; without a panel, nothing saved or pushed; an existing file always loads.
#include "app/first_start.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/panel_session.h"
#include "device/simulated_bus.h"
#include "settings/settings_file.h"

namespace kestrelon {
namespace {

struct NoBus final : HidBus {
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string&) override { return nullptr; }
};

TEST(FirstStart, WithAPanelTheFactoryValuesAreSavedAndPushedWithFanValuesFromItsLimits) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
    ASSERT_TRUE(IsFirstStart(path));
    VirtualTime time;
    SimulatedBus bus(time);  // fan limits 2450, 2000, 1600, 3000
    MonitorState state;
    PanelSession session(state, time);
    session.Start(bus, {}, [&] { StartFromFactorySettings(state, session.protocol(), path, true); });

    EXPECT_EQ(state.msf, (PerChannel<int32_t>{{2400, 2000, 1600, 3000}}));
    EXPECT_EQ(state.sf, (PerChannel<int32_t>{{480, 400, 320, 600}}));
    MonitorState reloaded;
    LoadSettings(reloaded, path);
    EXPECT_EQ(reloaded.msf, state.msf);
    EXPECT_EQ(reloaded.st, (PerChannel<int32_t>{{65, 55, 55, 45}}));

    const SimulatedPanel& panel = bus.panel();
    EXPECT_EQ(*panel.registerBytes(0x20), (std::array<uint8_t, 6>{65, 55, 55, 45, 0, 0}));
    EXPECT_EQ(panel.registerBytes(0x2B)->at(0), 2400 & 0xFF);  // manual speed, not 0
    EXPECT_EQ(panel.registerBytes(0x2B)->at(1), 2400 >> 8);
    EXPECT_EQ(panel.registerBytes(0x24)->at(0), 480 & 0xFF);
}

TEST(FirstStart, WithoutAPanelTheFactoryValuesAreUsedButNothingIsSavedOrPushed) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
    VirtualTime time;
    NoBus bus;
    MonitorState state;
    PanelSession session(state, time);
    session.Start(bus, {}, [&] { StartFromFactorySettings(state, session.protocol(), path, true); });
    EXPECT_EQ(state.st[1], 65);
    EXPECT_EQ(state.back_color, 2);
    EXPECT_EQ(state.msf[1], 0);  // unknown until a panel tells its limit
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FirstStart, AnExistingFileIsNoFirstStartEvenWhenItIsEmpty) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
    std::ofstream(path) << "";
    EXPECT_FALSE(IsFirstStart(path));
}

}  // namespace
}  // namespace kestrelon
