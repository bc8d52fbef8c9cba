// kestrelonctl: the command-line tool on the core — list panels, read their status, show and
// push the settings, render the window. main() only wires the real bus, clock and wait.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/timing.h"
#include "device/transport.h"

namespace kestrelon {

struct CtlEnvironment {
    HidBus& bus;   // the real panels (USB)
    Clock& clock;  // also drives the simulated panel
    Waiter& waiter;
    std::string settingsPath;  // used when no --file is given
    std::string skinDir;       // for render
};

// Runs one command line (without the program name). Returns the exit status.
int RunCtl(const std::vector<std::string>& args, CtlEnvironment& env, std::ostream& out,
           std::ostream& err);

}  // namespace kestrelon
