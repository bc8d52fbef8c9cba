// SPDX-License-Identifier: GPL-3.0-or-later
// The user's alert command, run on each change of an alert: without a shell, detached, with the
// change in its environment (see alertEnvironment).
#pragma once

#include <string>

#include "alerts/alert_monitor.h"

namespace kestrelon {

// Splits `command` into a program and its arguments as QProcess::splitCommand does (blanks
// separate, double quotes group) and starts it; false, with one log line, when it cannot start.
bool RunAlertCommand(const std::string& command, const AlertChange& change,
                     const std::string& name);

}  // namespace kestrelon
