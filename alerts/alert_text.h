// SPDX-License-Identifier: GPL-3.0-or-later
// What the user reads of an alert: the notification's summary and body, the alert command's
// environment and the tray icon's tooltip. Sensors are named by the user's names.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "alerts/alert_monitor.h"

namespace kestrelon {

struct AlertMessage {
    std::string summary, body;
};

AlertMessage alertMessage(const AlertChange& change, const std::string& name);

// KESTRELON_ALERT_SENSOR (cpu, hdd, vga, case), _NAME (the user's name), _KIND (temperature,
// fan), _STATE (alarm, normal), _VALUE and _LIMIT (numbers, in _UNIT: celsius or rpm).
std::vector<std::pair<std::string, std::string>> alertEnvironment(const AlertChange& change,
                                                                  const std::string& name);

// "Kestrelon" with no alarm; else which sensors are in alarm, one a line.
std::string alarmTooltip(const std::vector<AlertChange>& alarms,
                         const PerChannel<std::string>& names);

// A reading as text: at most one decimal, none when whole ("43", "43.5").
std::string alertNumber(double value);

}  // namespace kestrelon
