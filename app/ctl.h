// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl: the command-line tool on the core — list panels, read their status, show and
// push the settings, render the window. main() only wires the real bus, clock and wait.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/ctl_serve.h"
#include "core/monitor_state.h"
#include "core/options.h"
#include "core/timing.h"
#include "device/transport.h"

namespace kestrelon {

struct CtlEnvironment {
    HidBus& bus;   // the real panels (USB)
    Clock& clock;  // also drives the simulated panel
    Waiter& waiter;
    std::string settingsPath;  // used when no --file is given
    std::string skinDir;       // for render
    // Hands a request line to a running kestrelon and returns its answer line; nothing when
    // none runs. Empty: never look for one.
    std::function<std::optional<std::string>(const std::string& request)> running;
    // Puts this machine's processor clock, memory and disk size into the state, for render's
    // side panel. Empty: they show as 0.
    std::function<void(MonitorState& state)> hostFacts;
    // The history's day files (history beyond the last hour, or when no kestrelon runs) and the
    // UTC time in seconds. Empty: the default directory, the system clock.
    std::string historyDir;
    std::function<int64_t()> utcNow;
    Options options;  // our options file: the sensors' names
    // Runs `kestrelonctl serve` on an event loop of its own and returns its exit status. Empty:
    // serve is refused.
    std::function<int(const ServeOptions&)> serve;
};

// Runs one command line (without the program name). Returns the exit status.
int RunCtl(const std::vector<std::string>& args, CtlEnvironment& env, std::ostream& out,
           std::ostream& err);

}  // namespace kestrelon
