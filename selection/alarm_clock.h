// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm clock's controls: the on/off switch, the set button's edit cycle (hour, minute,
// done), the up and down arrows, and the end of editing when the alarm wing closes.
#pragma once

#include <string>

#include "core/monitor_state.h"
#include "device/panel_port.h"
#include "selection/selection.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

enum class AlarmField { Hour, Minute };

// The alarm time with one field stepped by +1 or -1, wrapping 23 <-> 00 and 59 <-> 00. The fields
// of a malformed text read leniently (0 where there is no number); the result is always "HH:MM".
std::string AdjustAlarmTime(const std::string& alarm, AlarmField field, int step);

class AlarmClock {
public:
    AlarmClock(MonitorState& state, SkinRenderer& renderer, Selection& selection, PanelPort& panel);

    // Flips the switch. Switching on also gives the panel the time the window shows.
    void OnOffClicked();
    // One step of the edit cycle. False when the click's handling ends here (nothing saved).
    bool SetClicked();
    // Steps the field being edited (none: the time stays) and gives the panel the time.
    void ArrowClicked(int step);
    // Ends editing and blanks the hour, as the wing closes over the panel.
    void StopAlarmEditing();

private:
    MonitorState& s_;
    SkinRenderer& renderer_;
    Selection& selection_;
    PanelPort& panel_;
};

}  // namespace kestrelon
