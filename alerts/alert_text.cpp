// SPDX-License-Identifier: GPL-3.0-or-later
// The texts and the environment of an alert.
#include "alerts/alert_text.h"

#include <cmath>
#include <cstdio>

namespace kestrelon {

std::string alertNumber(double value) {
    const double tenths = std::round(value * 10) / 10 + 0.0;  // no "-0"
    char text[32];
    if (tenths == std::floor(tenths))
        std::snprintf(text, sizeof text, "%.0f", tenths);
    else
        std::snprintf(text, sizeof text, "%.1f", tenths);
    return text;
}

AlertMessage alertMessage(const AlertChange& c, const std::string& name) {
    const std::string value = alertNumber(c.value), limit = alertNumber(c.limit);
    const bool alarm = c.state == AlertState::Alarm;
    if (c.kind == AlertKind::Fan) {
        if (alarm) return {name + " fan stopped", "The " + name + " fan reads 0 rpm."};
        return {name + " fan turns again", "The " + name + " fan reads " + value + " rpm."};
    }
    if (alarm)
        return {name + " too hot: " + value + " °C",
                name + " reads " + value + " °C, above its limit of " + limit + " °C."};
    return {name + " back to normal: " + value + " °C",
            name + " reads " + value + " °C, below its limit of " + limit + " °C again."};
}

std::vector<std::pair<std::string, std::string>> alertEnvironment(const AlertChange& c,
                                                                  const std::string& name) {
    return {
        {"KESTRELON_ALERT_SENSOR", std::string(channelName(c.channel))},
        {"KESTRELON_ALERT_NAME", name},
        {"KESTRELON_ALERT_KIND", alertKindName(c.kind)},
        {"KESTRELON_ALERT_STATE", alertStateName(c.state)},
        {"KESTRELON_ALERT_VALUE", alertNumber(c.value)},
        {"KESTRELON_ALERT_LIMIT", alertNumber(c.limit)},
        {"KESTRELON_ALERT_UNIT", c.kind == AlertKind::Fan ? "rpm" : "celsius"},
    };
}

std::string alarmTooltip(const std::vector<AlertChange>& alarms,
                         const PerChannel<std::string>& names) {
    std::string text = "Kestrelon";
    if (alarms.empty()) return text;
    text += ": alarm";
    for (const AlertChange& a : alarms) {
        const std::string& name = names[a.channel];
        text +=
            "\n" + (a.kind == AlertKind::Fan ? name + " fan stopped"
                                             : name + " " + alertNumber(a.value) + " °C (limit " +
                                                   alertNumber(a.limit) + " °C)");
    }
    return text;
}

}  // namespace kestrelon
