// SPDX-License-Identifier: GPL-3.0-or-later
// Device log lines go to the program's log.
#include "device/device_log.h"

#include "core/log.h"

namespace kestrelon {

void logDeviceLine(const std::string& message) {
    LogLine(message);
}

}  // namespace kestrelon
