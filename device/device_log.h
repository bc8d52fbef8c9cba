// SPDX-License-Identifier: GPL-3.0-or-later
// One-line log messages of the device layer, written to stderr as "kestrelon: ...".
#pragma once

#include <string>

namespace kestrelon {

void logDeviceLine(const std::string& message);

}  // namespace kestrelon
