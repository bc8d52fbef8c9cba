// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's command line.
#include "app/desktop_program.h"

namespace kestrelon {

std::string DesktopUsage(bool simulated) {
    const std::string name = simulated ? "kestrelon-demo" : "kestrelon";
    return "usage: " + name +
           " [--history] [--frame-log PATH]\n"
           "  Shows the front panel's temperatures and fans behind a tray icon" +
           (simulated ? " (a simulated panel)" : "") +
           ".\n"
           "  --history          show the history window (that of the running " +
           name +
           ", if one runs)\n"
           "  --frame-log PATH   append every frame sent (>) and reply (<) to PATH\n"
           "  --help             this text\n";
}

std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args,
                                                  bool simulated, bool& help, std::string& why) {
    DesktopOptions o;
    o.simulated = simulated;
    help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--history") {
            o.showHistory = true;
        } else if (a == "--frame-log" && hasValue) {
            o.frameLog = args[++i];
        } else if (a == "--probe-address" && hasValue) {  // for tests: a loopback server
            o.probeAddress = QUrl(QString::fromStdString(args[++i]));
        } else if (a == "--frame-log" || a == "--probe-address") {
            why = a + " needs a value";
            return std::nullopt;
        } else {
            why = "unknown argument " + a;
            return std::nullopt;
        }
    }
    return o;
}

}  // namespace kestrelon
