// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl serve.
#include "app/ctl_serve.h"

#include <QCoreApplication>
#include <iostream>

#include "app/local_control.h"
#include "app/panel_service.h"
#include "app/termination.h"
#include "core/log.h"
#include "monitor/first_start.h"
#include "settings/settings_file.h"

namespace kestrelon {

int RunServe(const ServeOptions& options) {
    // One program owns the panel: a running kestrelon (or another serve) answers on the socket.
    const QString socket = ControlSocketPath(true);
    if (socket.isEmpty()) return 1;  // the socket's directory is not private: said in one line
    if (LocalControl::Ask(socket, "reading")) {
        std::cerr << "kestrelon: a kestrelon is already running and owns the panel; serve does "
                     "not start beside it\n";
        return 1;
    }

    MonitorState state;
    if (IsFirstStart(options.settingsPath))
        StartFromFactorySettings(state, nullptr, options.settingsPath, false);  // fans: later
    else
        LoadSettings(state.settings, options.settingsPath);

    PanelService service(state,
                         PanelServiceOptions{options.simulated, options.frameLog,
                                             options.settingsPath, options.historyDir},
                         PanelServiceHooks{});
    service.setOptions(options.options);
    service.listen(socket, [](const std::string& request, const LocalControl::Reply& reply) {
        if (request == "show" || request == "show history")
            reply("error kestrelonctl serve owns the panel here and has no window");
        else
            reply("error unknown request: " + request);
    });
    NoPollHooks hooks;
    service.makePoll(hooks);
    service.poll().UpdateClockText();  // the start-up push sends the time of day
    state.poll.shownMinute = state.poll.currentMinute;
    service.setPollTimer(true);
    service.start();
    LogLine(std::string("serving the ") + (options.simulated ? "simulated " : "") +
            "panel without a window; the control socket is " + socket.toStdString());

    EndOnTerminationSignals([&service] { service.stop([] { QCoreApplication::quit(); }); });
    return QCoreApplication::exec();
}

}  // namespace kestrelon
