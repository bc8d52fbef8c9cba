// SPDX-License-Identifier: GPL-3.0-or-later
// Settings changed from the command line: KEY=VALUE items checked against what the controls
// allow, applied all or none, and the panel's registers that the change touches.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/monitor_state.h"
#include "device/panel_protocol.h"

namespace kestrelon {

// Applies every item ("st1=60", "color=blue", "alarm=07:30" ...) to `state`, in order. Every
// item is checked first; on a bad one nothing changes and `why` says what is wrong in one line.
// A limit keeps its other unit in step; a manual speed must lie between half its fan's limit and
// the limit when the limit is known.
bool ApplySettingEdits(MonitorState& state, const std::vector<std::string>& items,
                       std::string& why);

// What became of an edit of the settings.
struct SettingEditResult {
    enum class Outcome { Refused, NotSaved, Saved };
    Outcome outcome = Outcome::Refused;
    std::string why;  // for a refused item or a failed save, in one line
    PushReport push;  // the registers pushed to the panel, and those that could not be
};

// The one way the settings are edited from outside the window (kestrelonctl set, directly or
// through the running program): applies the items, saves the settings file at `path` and pushes
// the registers that changed when `panel` is given. A refused item or a failed save leaves
// `state` and the file as they were.
SettingEditResult EditSettings(MonitorState& state, const std::vector<std::string>& items,
                               const std::filesystem::path& path, PanelProtocol* panel);

// The pushes that bring the panel from `before` to `after`, only for the registers that differ.
// A register that could not be written stays in the report; the settings keep its value, and
// the next full push (start-up, re-plug, wake-up) sends it.
PushReport PushChangedSettings(const MonitorState& before, const MonitorState& after,
                               PanelProtocol& panel);

}  // namespace kestrelon
