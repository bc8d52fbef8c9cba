// SPDX-License-Identifier: GPL-3.0-or-later
// One reading of the panel as a line for people or for programs: temperatures, fan speeds and
// fan limits, as `kestrelonctl watch` prints it and a running kestrelon reports it.
#pragma once

#include <string>
#include <string_view>

#include "core/monitor_state.h"

namespace kestrelon {

// {"time": "HH:MM:SS", "unit": "C", "temperatures": [45, null, ...], "fans": [...],
//  "fan_limits": [...]} on one line; null is a missing reading (no sensor, or no panel).
std::string ReadingJson(const MonitorState& state, const std::string& timeOfDay);
// "HH:MM:SS  temp °C 45 - 52 31  fan 1450 1180 1020 1900  limit 2400 2000 1600 3000", where "-"
// is a missing reading.
std::string ReadingText(const MonitorState& state, const std::string& timeOfDay);

// What a running kestrelon answers to kestrelonctl status: the panel's path, the unit, and the
// temperatures, fan speeds and fan limits, tab-separated, numbers blank-separated, "-" for a
// missing reading.
std::string StatusRecord(const MonitorState& state, const std::string& panelPath);
// Reads such a record back into the unit, temperatures, fan speeds and fan limits of `state`; false
// when it is not one.
bool ParseStatusRecord(std::string_view record, MonitorState& state, std::string& panelPath);

}  // namespace kestrelon
