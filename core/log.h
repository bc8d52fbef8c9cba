// SPDX-License-Identifier: GPL-3.0-or-later
// The program's log: one line to stderr per message, "kestrelon: ...". A message that repeats
// (a file gone while the window redraws every second) is written once, and again only after a
// quiet spell, with the number of repeats it stood for.
#pragma once

#include <string>

namespace kestrelon {

// How long a repeated message stays quiet.
inline constexpr double kLogRepeatQuietSeconds = 600;

void LogLine(const std::string& message);
// Forgets which messages were written (for tests that expect a message again).
void ForgetLoggedLines();

}  // namespace kestrelon
