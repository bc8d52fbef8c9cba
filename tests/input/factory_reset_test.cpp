// SPDX-License-Identifier: GPL-3.0-or-later
// The factory reset from the armed reset spot: values, the file, the redraw and the pushes.
#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

TEST(FactoryReset, ArmedResetSpotRestoresSavesAndPushesInOrder) {
    test::ControlsHarness h;
    h.connectPanel();
    h.state.readings.fanLimit[Channel::Cpu] = 2400, h.state.readings.fanLimit[Channel::Hdd] = 2000,
    h.state.readings.fanLimit[Channel::Vga] = 1600, h.state.readings.fanLimit[Channel::Case] = 3000;
    h.state.settings.limitCelsius[Channel::Cpu] = 80,
    h.state.settings.unit = TemperatureUnit::Fahrenheit;
    h.state.settings.backlight = Backlight::Off, h.state.settings.alarm.text = "06:10",
    h.state.panel.alarmEnabled = true;
    h.state.ui.lowerRightWingOpen = true;
    h.click(250, 288);  // a selection survives the reset
    h.controls.onKeyDown(0, kCtrlMask | kAltMask);
    h.pushes();
    h.click(88, 229);

    const MonitorState& s = h.state;
    EXPECT_EQ(s.settings.fanSetPoint, (PerChannel<int32_t>{{480, 400, 320, 600}}));
    EXPECT_EQ(s.settings.manualFanSpeed, (PerChannel<int32_t>{{2400, 2000, 1600, 3000}}));
    EXPECT_FALSE(s.ui.resetArmed);
    EXPECT_EQ(s.ui.selectedItem, 12);
    const std::string file = SettingsFileText(s.settings);
    for (const char* line : {"st1=65\r\n", "st2=55\r\n", "st3=55\r\n", "st4=45\r\n", "fst1=149\r\n",
                             "fst2=131\r\n", "fst3=131\r\n", "fst4=113\r\n", "color=2\r\n",
                             "auto=1\r\n", "t_unit=0\r\n", "alarm=12:00\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_TRUE(h.saved());
    EXPECT_EQ(h.pushes(), (std::vector<uint8_t>{0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x29}));
    // The alarm panel shows the factory time, switched off; the panel's own alarm time stays.
    EXPECT_EQ(h.renderer.lcdPicture().pixel(48 + 2, 29 + 2), h.skin.colour("aldis.bmp"));
    EXPECT_FALSE(h.panel.registerBytes(0x2A).has_value());

    h.click(88, 229);  // no new key press: the spot is no longer armed
    EXPECT_TRUE(h.pushes().empty());
}

TEST(FactoryReset, AFanWithAnUnknownLimitKeepsItsValues) {
    test::ControlsHarness h;
    h.state.readings.fanLimit[Channel::Cpu] = 2400;  // the others are unknown (no panel)
    h.state.settings.fanSetPoint[Channel::Hdd] = 700,
    h.state.settings.manualFanSpeed[Channel::Hdd] = 1900;
    h.controls.ResetToDefaults();
    EXPECT_EQ(h.state.settings.fanSetPoint[Channel::Cpu], 480);
    EXPECT_EQ(h.state.settings.manualFanSpeed[Channel::Cpu], 2400);
    EXPECT_EQ(h.state.settings.fanSetPoint[Channel::Hdd], 700);
    EXPECT_EQ(h.state.settings.manualFanSpeed[Channel::Hdd], 1900);
    EXPECT_EQ(h.state.settings.fanSetPoint[Channel::Vga], 0);
}

}  // namespace
}  // namespace kestrelon
