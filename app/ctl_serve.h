// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl serve: the panel served without a window, for machines without a desktop. The
// poll, the start-up push, the recovery after an unplug or a sleep, the control socket, the
// history, the alerts (a log line and the alert command) and the metrics, until a termination
// signal.
#pragma once

#include <string>

#include "core/options.h"

namespace kestrelon {

struct ServeOptions {
    bool simulated = false;    // the simulated panel instead of USB
    std::string frameLog;      // every frame sent and every reply, one per line; empty: none
    std::string settingsPath;  // the panel's settings file
    Options options;           // our own options file's
    std::string historyDir;    // the history's day files
};

// Runs the service on the application's event loop (a QCoreApplication must exist) and returns
// the exit status: 0 after a termination signal, 1 when another program already owns the panel
// (said in one line on standard error).
int RunServe(const ServeOptions& options);

}  // namespace kestrelon
