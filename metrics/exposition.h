// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's readings, limits and fan targets in the Prometheus text format (0.0.4), built from
// the model alone so that the endpoint, the textfile and kestrelonctl print the same text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/options.h"
#include "core/sample.h"

namespace kestrelon {

struct MetricsInput {
    Sample sample;           // readings missing when no panel answers
    std::string panel;       // the panel's path; empty when none is open
    std::string version;     // the program's version
    PerChannel<std::string> sensorName;
    // Each sensor's alarm, when alerts are watched; nothing leaves the family out.
    std::optional<PerChannel<bool>> temperatureAlarm;
};

MetricsInput metricsInput(const Sample& sample, const Options& options, std::string panel);

// The exposition: HELP and TYPE for every family, then its samples. A missing reading has no
// sample; with no panel, kestrelon_up is 0 and no reading of the panel is shown.
std::string Exposition(const MetricsInput& input);

// A label value with backslash, double quote and line feed escaped.
std::string EscapeLabelValue(std::string_view value);

// The media type the exposition is served with.
inline constexpr const char* kExpositionContentType = "text/plain; version=0.0.4; charset=utf-8";

}  // namespace kestrelon
