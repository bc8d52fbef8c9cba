// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl metrics: the Prometheus exposition, from a running kestrelon or from the panel,
// printed or written as a textfile for node_exporter.
#include "app/control_request.h"
#include "app/ctl_command.h"
#include "core/sample.h"
#include "metrics/exposition.h"
#include "settings/atomic_file.h"
#include "settings/settings_file.h"

namespace kestrelon::ctl {

int Command::metrics() {
    std::string text;
    bool answered = false;
    if (!o_.simulated && !o_.trace) {
        switch (askRunning("metrics", text)) {
            case Asked::Refused:
                return 1;
            case Asked::Answered:
                text = UnfoldLines(text);
                answered = true;
                break;
            case Asked::NotRunning:
                break;
        }
    }
    if (!answered) {
        // The limits and fan targets come from the settings file, the readings from the panel;
        // without a panel the exposition says so (kestrelon_up 0), which is an answer too.
        const std::string path = o_.file.value_or(env_.settingsPath);
        if (settingsReadable(path, false)) LoadSettings(state_.settings, path);
        PanelSession session(state_, env_.waiter);
        std::string panel;
        if (session.Open(bus(), tracer()) == PanelSearch::Outcome::Opened) {
            readAll(*session.protocol());
            panel = session.search().device.path;
        }
        text = Exposition(metricsInput(sampleOf(state_), env_.options, panel));
    }
    if (!o_.textfile) {
        out_ << text;
        return 0;
    }
    std::string error;
    if (!ReplaceFileContent(*o_.textfile, text, error)) {
        err_ << "kestrelon: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kestrelon::ctl
