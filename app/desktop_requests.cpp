// SPDX-License-Identifier: GPL-3.0-or-later
// The requests that only the desktop program answers over its control socket: a second start's
// "show" and "show history". The panel's requests are the service's.
#include "app/desktop_program.h"

namespace kestrelon {

void DesktopProgram::handleRequest(const std::string& request, const LocalControl::Reply& reply) {
    if (request == "show") {
        showFromTray();
        reply("ok");
    } else if (request == "show history") {
        showHistory();
        reply("ok");
    } else {
        reply("error unknown request: " + request);
    }
}

}  // namespace kestrelon
