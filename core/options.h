// SPDX-License-Identifier: GPL-3.0-or-later
// Our own options, beside the panel's settings file: what the panel does not hold. Read from
// ~/.config/kestrelon/kestrelon.conf; every field has a default, so a missing file is no error.
#pragma once

#include <string>

#include "core/channel.h"

namespace kestrelon {

struct Options {
    // The user's name for each sensor, shown by tooltips, the history, alerts and metrics.
    PerChannel<std::string> sensorName{{"CPU", "HDD", "VGA", "Case"}};

    int historyDays = 90;  // day files older than this are removed

    double alertDelaySeconds = 5;  // a temperature above its limit this long is an alarm
    double alertHysteresisC = 3;   // back to normal only this far below the limit
    std::string alertCommand;      // run without a shell on each alert change; empty: none

    std::string metricsListen;    // "address:port" of the metrics endpoint; empty: off
    std::string metricsTextfile;  // a .prom file rewritten every 15 s; empty: none

    bool operator==(const Options&) const = default;
};

}  // namespace kestrelon
