// Writes a device log line to stderr in one call, so lines of different sources never mix.
#include "device/device_log.h"

#include <cstdio>

namespace kestrelon {

void logDeviceLine(const std::string& message) {
    std::string line = "kestrelon: " + message + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace kestrelon
