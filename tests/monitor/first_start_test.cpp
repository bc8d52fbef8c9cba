// SPDX-License-Identifier: GPL-3.0-or-later
// A first start without a settings file: factory values with fan values from the panel's limits,
// saved and pushed; without a panel, nothing saved or pushed; an existing file always loads, its
// fan values of 0 filled in from the panel's limits.
#include "monitor/first_start.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "monitor/panel_session.h"
#include "device/frame_trace.h"
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
    session.Start(bus, {},
                  [&] { StartFromFactorySettings(state, session.protocol(), path, true); });

    EXPECT_EQ(state.settings.manualFanSpeed, (PerChannel<int32_t>{{2400, 2000, 1600, 3000}}));
    EXPECT_EQ(state.settings.fanSetPoint, (PerChannel<int32_t>{{480, 400, 320, 600}}));
    MonitorState reloaded;
    LoadSettings(reloaded.settings, path);
    EXPECT_EQ(reloaded.settings.manualFanSpeed, state.settings.manualFanSpeed);
    EXPECT_EQ(reloaded.settings.limitCelsius, (PerChannel<int32_t>{{65, 55, 55, 45}}));

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
    session.Start(bus, {},
                  [&] { StartFromFactorySettings(state, session.protocol(), path, true); });
    EXPECT_EQ(state.settings.limitCelsius[Channel::Cpu], 65);
    EXPECT_EQ(state.settings.backlight, Backlight::Blue);
    EXPECT_EQ(state.settings.manualFanSpeed[Channel::Cpu],
              0);  // unknown until a panel tells its limit
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(FirstStart, FanValuesOfZeroInAnExistingFileTakeThePanelsLimitsBeforeThePush) {
    struct Case {
        const char* name;
        const char* fans;  // the file's fan lines
        PerChannel<int32_t> sf, msf;
        bool changed;
    };
    const char* kValid =
        "sf1=500\r\nsf2=410\r\nsf3=330\r\nsf4=610\r\n"
        "msf1=1900\r\nmsf2=1800\r\nmsf3=1500\r\nmsf4=2900\r\n";
    const Case cases[] = {
        {"all set", kValid, {{500, 410, 330, 610}}, {{1900, 1800, 1500, 2900}}, false},
        {"saved before any panel",
         "sf1=\r\nmsf1=\r\n",
         {{480, 400, 320, 600}},
         {{2400, 2000, 1600, 3000}},
         true},
        {"one manual speed",
         "sf1=500\r\nsf2=410\r\nsf3=330\r\nsf4=610\r\n"
         "msf1=1900\r\nmsf2=\r\nmsf3=1500\r\nmsf4=2900\r\n",
         {{500, 410, 330, 610}},
         {{1900, 2000, 1500, 2900}},
         true},
        {"negative kept",
         "sf1=-5\r\nsf2=410\r\nsf3=330\r\nsf4=610\r\n"
         "msf1=1900\r\nmsf2=1800\r\nmsf3=1500\r\nmsf4=2900\r\n",
         {{-5, 410, 330, 610}},
         {{1900, 1800, 1500, 2900}},
         false},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
        std::ofstream(path) << "[settings]\r\nst1=70\r\n" << c.fans;
        VirtualTime time;
        SimulatedBus bus(time);  // fan limits 2450, 2000, 1600, 3000
        MonitorState state;
        LoadSettings(state.settings, path);
        const std::string before = SettingsFileText(state.settings);
        int limitReads = 0;
        const auto countLimitReads = [&](std::unique_ptr<Transport> inner) {
            return std::make_unique<TracingTransport>(
                std::move(inner), time, [&](const TraceFrame& f) {
                    if (f.bytes.size() > 1 && f.direction == FrameDirection::Sent &&
                        f.bytes[1] == 0x1D)
                        ++limitReads;
                });
        };
        PanelSession session(state, time);
        bool changed = false;
        session.Start(bus, countLimitReads,
                      [&] { changed = PrepareSettingsForPanel(state, *session.protocol(), path); });

        EXPECT_EQ(changed, c.changed) << c.name;
        EXPECT_EQ(state.settings.fanSetPoint, c.sf) << c.name;
        EXPECT_EQ(state.settings.manualFanSpeed, c.msf) << c.name;
        EXPECT_EQ(state.settings.limitCelsius[Channel::Cpu], 70)
            << c.name;                                       // nothing else is touched
        EXPECT_EQ(limitReads, c.changed ? 1 : 0) << c.name;  // read only when a 0 is there
        MonitorState saved;
        LoadSettings(saved.settings, path);
        EXPECT_EQ(SettingsFileText(saved.settings),
                  c.changed ? SettingsFileText(state.settings) : before)
            << c.name;
        // What the panel got is what the file holds: no fan is pushed a 0.
        const auto manual = bus.panel().registerBytes(0x2B);
        ASSERT_TRUE(manual) << c.name;
        EXPECT_EQ(manual->at(0) | manual->at(1) << 8, c.msf[Channel::Cpu]) << c.name;
    }
}

TEST(FirstStart, AnExistingFileIsNoFirstStartEvenWhenItIsEmpty) {
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
    std::ofstream(path) << "";
    EXPECT_FALSE(IsFirstStart(path));
}

}  // namespace
}  // namespace kestrelon
