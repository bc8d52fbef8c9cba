// SPDX-License-Identifier: GPL-3.0-or-later
// Termination signals (SIGTERM at logout or from a service manager, SIGINT, SIGHUP) handled on
// the event loop, so the program ends as cleanly as through its own close question.
#pragma once

#include <functional>

namespace kestrelon {

// Calls `end` from the event loop when one of the signals arrives. Call once, after the
// application object exists.
void EndOnTerminationSignals(std::function<void()> end);

}  // namespace kestrelon
