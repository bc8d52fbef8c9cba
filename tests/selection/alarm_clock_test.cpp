// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm clock: the arrows' wrap-around, the set button's edit cycle and its time-out, and the
// switch that gives the panel the time it shows.
#include <gtest/gtest.h>

#include "selection/alarm_clock.h"
#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

TEST(AlarmClock, FieldsWrapAndAlwaysWriteAWholeTime) {
    const struct {
        const char* before;
        AlarmField field;
        int step;
        const char* after;
    } cases[] = {
        {"23:45", AlarmField::Hour, +1, "00:45"}, {"00:45", AlarmField::Hour, -1, "23:45"},
        {"01:45", AlarmField::Hour, -1, "00:45"}, {"07:58", AlarmField::Minute, +1, "07:59"},
        {"07:59", AlarmField::Minute, +1, "07:00"}, {"07:00", AlarmField::Minute, -1, "07:59"},
        {"07:01", AlarmField::Minute, -1, "07:00"},
        {":", AlarmField::Hour, +1, "01:00"},     // a file without an alarm value
        {"", AlarmField::Minute, -1, "00:59"},
        {"7:30", AlarmField::Minute, +1, "07:01"},  // fields are positional: "7:" and "0"
        {"ab:cd", AlarmField::Hour, -1, "23:00"},
        {"12:99", AlarmField::Hour, +1, "13:59"},  // the other field is held in range
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdjustAlarmTime(c.before, c.field, c.step), c.after) << c.before;
}

TEST(AlarmClock, TheSetButtonCyclesHourMinuteDoneAndSavesOnlyAtTheEnd) {
    test::ControlsHarness h;
    h.connectPanel();
    h.state.ui.upperLeftWingOpen = true;
    h.state.settings.alarm.text = "06:30";
    h.state.ui.lowerRightWingOpen = true;
    h.click(250, 288);  // a limit icon is selected
    h.forgetSave();

    h.click(140, 150);  // set: hour editing
    EXPECT_TRUE((h.state.ui.alarmEdit == AlarmEdit::Hour));
    EXPECT_EQ(h.state.ui.blinking[kAlarmHourItem], 1);
    EXPECT_EQ(h.state.ui.selectedItem, 12);  // the hour blinks beside the icon
    h.click(200, 170);                     // up
    EXPECT_EQ(h.state.settings.alarm.text, "07:30");
    EXPECT_EQ(h.pushes(), (std::vector<uint8_t>{0x2A}));
    h.forgetSave();

    h.click(140, 150);  // set: minute editing takes the selection over
    EXPECT_FALSE(h.saved());
    EXPECT_TRUE((h.state.ui.alarmEdit == AlarmEdit::Minute));
    EXPECT_EQ(h.state.ui.blinking[12], 0);
    EXPECT_EQ(h.state.ui.selectedItem, kAlarmMinuteItem);
    h.click(180, 170);  // down
    EXPECT_EQ(h.state.settings.alarm.text, "07:29");

    h.forgetSave();
    h.click(140, 150);  // set: done
    EXPECT_FALSE((h.state.ui.alarmEdit == AlarmEdit::Hour) ||
                 (h.state.ui.alarmEdit == AlarmEdit::Minute));
    EXPECT_TRUE(h.saved());
}

TEST(AlarmClock, EditingEndsAfterEightSecondsWithoutSetOrArrowsAndShowsTheWholeTime) {
    test::ControlsHarness h;
    h.state.ui.upperLeftWingOpen = true;
    h.click(140, 150);
    h.tick(4.0);
    h.click(175, 150);  // the on/off switch does not restart the eight seconds
    h.tick(3.9);
    EXPECT_TRUE((h.state.ui.alarmEdit == AlarmEdit::Hour));
    h.tick(0.2);
    EXPECT_FALSE((h.state.ui.alarmEdit == AlarmEdit::Hour));
    // The whole time is back on the window: the same pixels as a fresh full draw.
    const QImage shown = h.renderer.windowPicture().copy(148, 127, 55, 13);
    h.renderer.DrawAlarmSetting(0);
    EXPECT_EQ(shown, h.renderer.windowPicture().copy(148, 127, 55, 13));
}

TEST(AlarmClock, SwitchingOnGivesThePanelTheTimeShownBeforeTheStatus) {
    test::ControlsHarness h;
    h.connectPanel();
    h.state.ui.upperLeftWingOpen = true;
    h.state.settings.alarm.text = "06:45";
    h.click(175, 150);
    EXPECT_TRUE(h.state.panel.alarmEnabled);
    EXPECT_EQ(h.pushes(), (std::vector<uint8_t>{0x2A, 0x29}));
    EXPECT_EQ(h.renderer.lcdPicture().pixel(48 + 2, 29 + 2), h.skin.colour("alen.bmp"));
    h.click(175, 150);
    EXPECT_EQ(h.pushes(), (std::vector<uint8_t>{0x29}));
    EXPECT_EQ(h.renderer.lcdPicture().pixel(48 + 2, 29 + 2), h.skin.colour("aldis.bmp"));
}

TEST(AlarmClock, ClosingTheAlarmWingStopsEditing) {
    test::ControlsHarness h;
    h.state.ui.upperLeftWingOpen = true;
    h.click(140, 150);
    h.click(140, 150);
    h.click(120, 120);  // the upper-left wing button
    EXPECT_FALSE(h.state.ui.upperLeftWingOpen);
    EXPECT_FALSE((h.state.ui.alarmEdit == AlarmEdit::Minute));
    EXPECT_EQ(h.state.ui.blinking[kAlarmMinuteItem], 0);
}

}  // namespace
}  // namespace kestrelon
