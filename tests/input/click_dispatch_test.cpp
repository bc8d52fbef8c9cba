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
    s.luw_open = s.ldw_open = s.ruw_open = s.rdw_open = true;
}

TEST(ClickDispatch, EachControlAnswersInsideItsRectangleUnderItsCondition) {
    const std::vector<ClickCase> cases = {
        {"a click on nothing still saves", 5, 5, nullptr, 0, true, {}, nullptr},
        {"backlight red, far corner", 199, 214, openAll, 1, true, {0x29},
         [](const MonitorState& s) { EXPECT_EQ(s.back_color, 1); }},
        {"backlight red, near corner", 169, 204, openAll, 1, true, {0x29},
         [](const MonitorState& s) { EXPECT_EQ(s.back_color, 1); }},
        {"backlight under a closed wing", 169, 204, nullptr, 0, true, {},
         [](const MonitorState& s) { EXPECT_EQ(s.back_color, 0); }},
        {"backlight one pixel outside", 200, 214, openAll, 0, true, {}, nullptr},
        {"sensor icon selects, not saved", 448, 205, nullptr, 1, false, {0x29},
         [](const MonitorState& s) {
             EXPECT_EQ(s.lcd_mode, 1);
             EXPECT_EQ(s.new_flash_num, 4);
             EXPECT_FALSE(s.auto_scan);
         }},
        {"a selected sensor deselects and scans again", 449, 183,
         [](MonitorState& s) { s.flash[1] = 1, s.new_flash_num = 1, s.lcd_mode = 2; }, 1, false,
         {0x29},
         [](const MonitorState& s) {
             EXPECT_EQ(s.lcd_mode, 0);
             EXPECT_EQ(s.new_flash_num, 0);
             EXPECT_EQ(s.flash[1], 0);
             EXPECT_TRUE(s.auto_scan);
         }},
        {"fan icon in automatic mode does nothing", 132, 233,
         [](MonitorState& s) { openAll(s), s.auto_stat = true; }, 0, true, {},
         [](const MonitorState& s) { EXPECT_EQ(s.flash[7], 0); }},
        {"fan icon in manual mode selects", 156, 292, openAll, 1, false, {},
         [](const MonitorState& s) { EXPECT_EQ(s.new_flash_num, 8); }},
        {"limit arrow without a selection pushes the status, silently", 310, 253, openAll, 0,
         true, {0x29}, nullptr},
        {"fan arrow in automatic mode only restarts the time-out", 200, 273,
         [](MonitorState& s) { openAll(s), s.auto_stat = true, s.flash[7] = 1, s.lf[1] = 2000; },
         0, true, {}, nullptr},
        {"manual fan step pushes its pair", 215, 289,
         [](MonitorState& s) { openAll(s), s.flash[10] = 1, s.lf[2] = 2000, s.msf[2] = 1500; },
         1, true, {0x2B},
         [](const MonitorState& s) { EXPECT_EQ(s.msf[2], 1400); }},
        {"limit step pushes both units", 325, 289,
         [](MonitorState& s) { openAll(s), s.flash[12] = 1, s.st[4] = 45; }, 1, true,
         {0x29, 0x20, 0x21},
         [](const MonitorState& s) {
             EXPECT_EQ(s.st[4], 44);
             EXPECT_EQ(s.fst[4], 111);
         }},
        {"Celsius again redraws the limits and pushes the status", 249, 301, openAll, 1, true,
         {0x29}, [](const MonitorState& s) { EXPECT_FALSE(s.t_unit); }},
        {"Fahrenheit", 292, 321, openAll, 1, true, {0x29},
         [](const MonitorState& s) { EXPECT_TRUE(s.t_unit && !s.dec_stat); }},
        {"manual fan mode", 190, 313, openAll, 1, true, {0x29},
         [](const MonitorState& s) { EXPECT_FALSE(s.auto_stat); }},
        {"reset spot unarmed does nothing", 88, 229, nullptr, 0, true, {},
         [](const MonitorState& s) { EXPECT_EQ(s.st[1], 0); }},
        {"alarm set's first press is not saved", 132, 146, openAll, 1, false, {},
         [](const MonitorState& s) { EXPECT_TRUE(s.set_alarm_hour); }},
        {"alarm arrow while not editing pushes the time as it is", 193, 178, openAll, 1, true,
         {0x2A}, [](const MonitorState& s) { EXPECT_EQ(s.alarm_time, "12:00"); }},
        {"wing button edge opens the wing", 116, 113, nullptr, 1, true, {},
         [](const MonitorState& s) { EXPECT_TRUE(s.luw_open); }},
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
    EXPECT_EQ(h.state.back_color, 3);
    EXPECT_TRUE(h.panel.writeOrder().empty());
    EXPECT_NE(SettingsFileText(h.state).find("color=3"), std::string::npos);
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
    h.controls.mainback_MouseDown(kLeftButton, 0, 5, 5);
    h.controls.mainback_Click();
    EXPECT_TRUE(h.state.ruw_open);
}

TEST(ClickDispatch, TheCloseQuestionsNoHidesAndScansYesStopsTimersBeforeClosingThePanel) {
    test::ControlsHarness no;
    no.move(59, 229);
    no.desktop.log.clear();
    no.controls.mainback_Click();
    EXPECT_EQ(no.desktop.log, (std::vector<std::string>{"ask", "hide"}));
    EXPECT_TRUE(no.state.auto_scan);
    EXPECT_TRUE(no.saved());

    test::ControlsHarness yes;
    yes.connectPanel();
    yes.state.flash[11] = 1, yes.state.new_flash_num = 11;
    yes.controls.Timer2_Timer();  // the blink timer runs
    yes.move(59, 217);
    yes.desktop.log.clear();
    yes.desktop.answerYes = true;
    yes.controls.mainback_Click();
    EXPECT_EQ(yes.desktop.log,
              (std::vector<std::string>{"ask", "stop poll", "stop blink", "stop cursor", "close device",
                                        "remove tray", "events", "unload"}));
    EXPECT_TRUE(yes.saved());  // written after the unload
    // Nothing runs once the program is ending: no tick, no click, no push.
    yes.pushes();
    yes.controls.Timer2_Timer();
    yes.click(169, 204);
    EXPECT_TRUE(yes.pushes().empty());
    EXPECT_FALSE(yes.desktop.blinkTimer);
}

}  // namespace
}  // namespace kestrelon
