// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm clock's controls.
#include "selection/alarm_clock.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "settings/number_text.h"

namespace kestrelon {

namespace {

constexpr int kWhole = 0;
constexpr int kWithoutHour = 1;

// The number in characters [from, from + 2) of the text, read leniently.
int fieldValue(const std::string& text, std::size_t from) {
    if (from >= text.size()) return 0;
    return RoundToField<int16_t>(ParseLenientNumber(std::string_view(text).substr(from, 2)));
}

int wrap(int value, int top) {
    if (value > top) return 0;
    if (value < 0) return top;
    return value;
}

}  // namespace

std::string AdjustAlarmTime(const std::string& alarm, AlarmField field, int step) {
    int hour = fieldValue(alarm, 0);
    int minute = fieldValue(alarm, 3);
    if (field == AlarmField::Hour)
        hour = wrap(hour + step, 23);
    else
        minute = wrap(minute + step, 59);
    // The other field of a malformed text may read outside its range; it is held inside it.
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", std::clamp(hour, 0, 23),
                  std::clamp(minute, 0, 59));
    return text;
}

AlarmClock::AlarmClock(MonitorState& state, SkinRenderer& renderer, Selection& selection,
                       PanelPort& panel)
    : s_(state), renderer_(renderer), selection_(selection), panel_(panel) {}

void AlarmClock::OnOffClicked() {
    s_.panel.alarmEnabled = !s_.panel.alarmEnabled;
    renderer_.ShowAlarmEnable();
    renderer_.RefreshSkin();
    if (s_.panel.alarmEnabled) panel_.PushAlarmTime();
    panel_.PushStatusRegister();
}

bool AlarmClock::SetClicked() {
    s_.ui.alarmEditTouchedAt = selection_.now();
    int16_t& hourFlag = s_.ui.blinking[kAlarmHourItem];
    int16_t& minuteFlag = s_.ui.blinking[kAlarmMinuteItem];
    if (s_.ui.alarmEdit == AlarmEdit::None) {
        s_.ui.alarmEdit = AlarmEdit::Hour;
        hourFlag = 1;
        return false;
    }
    if (s_.ui.alarmEdit == AlarmEdit::Hour) {
        s_.ui.alarmEdit = AlarmEdit::Minute;
        hourFlag = 0;
        minuteFlag = 1;
        selection_.HandOver(kAlarmMinuteItem);
        return false;
    }
    s_.ui.alarmEdit = AlarmEdit::None;
    renderer_.DrawAlarmSetting(kWhole);
    selection_.StopBlinking();
    return true;
}

void AlarmClock::ArrowClicked(int step) {
    if (s_.ui.alarmEdit == AlarmEdit::Hour)
        s_.settings.alarm.text = AdjustAlarmTime(s_.settings.alarm.text, AlarmField::Hour, step);
    if (s_.ui.alarmEdit == AlarmEdit::Minute)
        s_.settings.alarm.text = AdjustAlarmTime(s_.settings.alarm.text, AlarmField::Minute, step);
    s_.ui.alarmEditTouchedAt = selection_.now();
    renderer_.DrawAlarmSetting(kWhole);
    panel_.PushAlarmTime();
}

void AlarmClock::StopAlarmEditing() {
    s_.ui.blinking[kAlarmHourItem] = 0;
    s_.ui.blinking[kAlarmMinuteItem] = 0;
    s_.ui.alarmEdit = AlarmEdit::None;
    renderer_.DrawAlarmSetting(kWithoutHour);
}

}  // namespace kestrelon
