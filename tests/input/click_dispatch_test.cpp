// SPDX-License-Identifier: GPL-3.0-or-later
// The click table: which rectangle answers under which condition, with its sound, its pushes and
// whether the settings are saved afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "settings/settings_file.h"
#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

using Setup = std::function<void(MonitorState&)>;
using Check = std::function<void(const MonitorState&)>;

struct ClickCase {
    const char* name;
    float x, y;
    Setup setup;
    int sounds;
    bool saved;
    std::vector<uint8_t> pushes;
    Check check;
};

void openAll(MonitorState& s) {
    s.ui.upperLeftWingOpen = s.ui.lowerLeftWingOpen = s.ui.upperRightWingOpen =
        s.ui.lowerRightWingOpen = true;
}

TEST(ClickDispatch, EachControlAnswersInsideItsRectangleUnderItsCondition) {
    const std::vector<ClickCase> cases = {
        {"a click on nothing still saves", 5, 5, nullptr, 0, true, {}, nullptr},
        {"backlight red, far corner",
         199,
         214,
         openAll,
         1,
         true,
         {0x29},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.backlight, Backlight::Red); }},
        {"backlight red, near corner",
         169,
         204,
         openAll,
         1,
         true,
         {0x29},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.backlight, Backlight::Red); }},
        {"backlight under a closed wing",
         169,
         204,
         nullptr,
         0,
         true,
         {},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.backlight, Backlight::Off); }},
        {"backlight one pixel outside", 200, 214, openAll, 0, true, {}, nullptr},
        {"sensor icon selects, not saved",
         448,
         205,
         nullptr,
         1,
         false,
         {0x29},
         [](const MonitorState& s) {
             EXPECT_EQ(s.panel.lcdSensor, 1);
             EXPECT_EQ(s.ui.selectedItem, 4);
             EXPECT_FALSE(s.poll.lcdScanning);
         }},
        {"a selected sensor deselects and scans again",
         449,
         183,
         [](MonitorState& s) {
             s.ui.blinking[1] = 1, s.ui.selectedItem = 1, s.panel.lcdSensor = 2;
         },
         1,
         false,
         {0x29},
         [](const MonitorState& s) {
             EXPECT_EQ(s.panel.lcdSensor, 0);
             EXPECT_EQ(s.ui.selectedItem, 0);
             EXPECT_EQ(s.ui.blinking[1], 0);
             EXPECT_TRUE(s.poll.lcdScanning);
         }},
        {"fan icon in automatic mode does nothing",
         132,
         233,
         [](MonitorState& s) { openAll(s), s.settings.fanMode = FanMode::Automatic; },
         0,
         true,
         {},
         [](const MonitorState& s) { EXPECT_EQ(s.ui.blinking[7], 0); }},
        {"fan icon in manual mode selects",
         156,
         292,
         openAll,
         1,
         false,
         {},
         [](const MonitorState& s) { EXPECT_EQ(s.ui.selectedItem, 8); }},
        {"limit arrow without a selection pushes the status, silently",
         310,
         253,
         openAll,
         0,
         true,
         {0x29},
         nullptr},
        {"fan arrow in automatic mode only restarts the time-out",
         200,
         273,
         [](MonitorState& s) {
             openAll(s), s.settings.fanMode = FanMode::Automatic, s.ui.blinking[7] = 1,
                         s.readings.fanLimit[Channel::Cpu] = 2000;
         },
         0,
         true,
         {},
         nullptr},
        {"manual fan step pushes its pair",
         215,
         289,
         [](MonitorState& s) {
             openAll(s), s.ui.blinking[10] = 1, s.readings.fanLimit[Channel::Hdd] = 2000,
                         s.settings.manualFanSpeed[Channel::Hdd] = 1500;
         },
         1,
         true,
         {0x2B},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.manualFanSpeed[Channel::Hdd], 1400); }},
        {"limit step pushes both units",
         325,
         289,
         [](MonitorState& s) {
             openAll(s), s.ui.blinking[12] = 1, s.settings.limitCelsius[Channel::Case] = 45;
         },
         1,
         true,
         {0x29, 0x20, 0x21},
         [](const MonitorState& s) {
             EXPECT_EQ(s.settings.limitCelsius[Channel::Case], 44);
             EXPECT_EQ(s.settings.limitFahrenheit[Channel::Case], 111);
         }},
        {"Celsius again redraws the limits and pushes the status",
         249,
         301,
         openAll,
         1,
         true,
         {0x29},
         [](const MonitorState& s) { EXPECT_FALSE(s.settings.fahrenheit()); }},
        {"Fahrenheit",
         292,
         321,
         openAll,
         1,
         true,
         {0x29},
         [](const MonitorState& s) {
             EXPECT_TRUE(s.settings.fahrenheit() && !s.settings.celsiusButtonLit());
         }},
        {"manual fan mode",
         190,
         313,
         openAll,
         1,
         true,
         {0x29},
         [](const MonitorState& s) { EXPECT_FALSE(s.settings.fansAutomatic()); }},
        {"reset spot unarmed does nothing",
         88,
         229,
         nullptr,
         0,
         true,
         {},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.limitCelsius[Channel::Cpu], 0); }},
        {"alarm set's first press is not saved",
         132,
         146,
         openAll,
         1,
         false,
         {},
         [](const MonitorState& s) { EXPECT_TRUE((s.ui.alarmEdit == AlarmEdit::Hour)); }},
        {"alarm arrow while not editing pushes the time as it is",
         193,
         178,
         openAll,
         1,
         true,
         {0x2A},
         [](const MonitorState& s) { EXPECT_EQ(s.settings.alarm.text, "12:00"); }},
        {"wing button edge opens the wing",
         116,
         113,
         nullptr,
         1,
         true,
         {},
         [](const MonitorState& s) { EXPECT_TRUE(s.ui.upperLeftWingOpen); }},
        {"minimise hides", 44, 217, nullptr, 1, true, {}, nullptr},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ControlsHarness h;
        h.connectPanel();
        if (c.setup) c.setup(h.state);
        h.click(c.x, c.y);
        EXPECT_EQ(h.sound.plays, c.sounds);
        EXPECT_EQ(h.saved(), c.saved);
        EXPECT_EQ(h.pushes(), c.pushes);
        if (c.check) c.check(h.state);
    }
}

TEST(ClickDispatch, WithoutAPanelNothingIsPushedButTheStateAndFileChange) {
    test::ControlsHarness h;
    openAll(h.state);
    h.click(136, 204);  // purple
    EXPECT_EQ(h.state.settings.backlight, Backlight::Purple);
    EXPECT_TRUE(h.panel.writeOrder().empty());
    EXPECT_NE(SettingsFileText(h.state.settings).find("color=3"), std::string::npos);
    EXPECT_TRUE(h.saved());
}

TEST(ClickDispatch, TheWebLinkOpensOnceWhereItsTwoRectanglesOverlap) {
    test::ControlsHarness h;
    h.click(400, 220);
    EXPECT_EQ(std::count(h.desktop.log.begin(), h.desktop.log.end(), "site"), 1);
    EXPECT_EQ(h.sound.plays, 1);
}

TEST(ClickDispatch, AClickUsesThePositionOfTheLastMove) {
    test::ControlsHarness h;
    h.move(320, 112);  // the upper-right wing button
    h.controls.onPointerDown(kLeftButton, 0, 5, 5);
    h.controls.onClick();
    EXPECT_TRUE(h.state.ui.upperRightWingOpen);
}

TEST(ClickDispatch, TheCloseQuestionsNoHidesAndScansYesStopsTimersBeforeClosingThePanel) {
    test::ControlsHarness no;
    no.move(59, 229);
    no.desktop.log.clear();
    no.controls.onClick();
    EXPECT_EQ(no.desktop.log, (std::vector<std::string>{"ask", "hide"}));
    EXPECT_TRUE(no.state.poll.lcdScanning);
    EXPECT_TRUE(no.saved());

    test::ControlsHarness yes;
    yes.connectPanel();
    yes.state.ui.blinking[11] = 1, yes.state.ui.selectedItem = 11;
    yes.controls.onBlinkTick();  // the blink timer runs
    yes.move(59, 217);
    yes.desktop.log.clear();
    yes.desktop.answerYes = true;
    yes.controls.onClick();
    EXPECT_EQ(yes.desktop.log,
              (std::vector<std::string>{"ask", "stop poll", "stop blink", "stop cursor",
                                        "close device", "remove tray", "events", "unload"}));
    EXPECT_TRUE(yes.saved());  // written after the unload
    // Nothing runs once the program is ending: no tick, no click, no push.
    yes.pushes();
    yes.controls.onBlinkTick();
    yes.click(169, 204);
    EXPECT_TRUE(yes.pushes().empty());
    EXPECT_FALSE(yes.desktop.blinkTimer);
}

}  // namespace
}  // namespace kestrelon
