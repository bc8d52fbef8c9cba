// SPDX-License-Identifier: GPL-3.0-or-later
// The Prometheus text exposition of the model: the families are a table, one row per family.
#include "metrics/exposition.h"

#include <charconv>
#include <functional>

namespace kestrelon {

namespace {

// A sample's value: integers as integers, other values shortest round-trip.
std::string valueText(double value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string("NaN");
}

enum class Labels { None, Sensor, Fan, Info };

struct Family {
    const char* name;
    const char* help;
    Labels labels;
    bool needsPanel;  // a reading of the panel: left out while no panel answers
    // The family's value for a channel (or, for a family without channel labels, the value);
    // nothing leaves the sample out.
    std::function<std::optional<double>(const MetricsInput&, Channel)> value;
};

const Family kFamilies[] = {
    {"kestrelon_up", "1 while the panel answers, 0 otherwise.", Labels::None, false,
     [](const MetricsInput& in, Channel) -> std::optional<double> {
         return in.sample.panelPresent ? 1 : 0;
     }},
    {"kestrelon_info", "The program's version and the panel it reads.", Labels::Info, false,
     [](const MetricsInput&, Channel) -> std::optional<double> { return 1; }},
    {"kestrelon_temperature_celsius", "The sensor's temperature.", Labels::Sensor, true,
     [](const MetricsInput& in, Channel ch) { return in.sample.temperatureC[ch]; }},
    {"kestrelon_temperature_limit_celsius", "The sensor's temperature limit.", Labels::Sensor,
     false,
     [](const MetricsInput& in, Channel ch) -> std::optional<double> {
         return in.sample.limitC[ch];
     }},
    {"kestrelon_temperature_alarm", "1 while the sensor is in alarm.", Labels::Sensor, false,
     [](const MetricsInput& in, Channel ch) -> std::optional<double> {
         if (!in.temperatureAlarm) return std::nullopt;
         return (*in.temperatureAlarm)[ch] ? 1 : 0;
     }},
    {"kestrelon_fan_speed_rpm", "The fan's speed.", Labels::Fan, true,
     [](const MetricsInput& in, Channel ch) -> std::optional<double> {
         if (!in.sample.fanRpm[ch]) return std::nullopt;
         return *in.sample.fanRpm[ch];
     }},
    {"kestrelon_fan_limit_rpm", "The fan's highest speed, as the panel reports it.", Labels::Fan,
     true,
     [](const MetricsInput& in, Channel ch) -> std::optional<double> {
         if (in.sample.fanLimitRpm[ch] <= 0) return std::nullopt;  // not reported yet
         return in.sample.fanLimitRpm[ch];
     }},
    {"kestrelon_fan_target_rpm", "The fan speed in force: the set point or the manual speed.",
     Labels::Fan, false,
     [](const MetricsInput& in, Channel ch) -> std::optional<double> {
         return in.sample.fanTargetRpm[ch];
     }},
    {"kestrelon_fan_manual", "1 while the fans run at their manual speeds, 0 in automatic mode.",
     Labels::None, false,
     [](const MetricsInput& in, Channel) -> std::optional<double> {
         return in.sample.fanMode == FanMode::Manual ? 1 : 0;
     }},
};

std::string channelLabels(const char* key, const MetricsInput& in, Channel ch) {
    return std::string("{") + key + "=\"" + std::string(channelName(ch)) + "\",name=\"" +
           EscapeLabelValue(in.sensorName[ch]) + "\"}";
}

}  // namespace

MetricsInput metricsInput(const Sample& sample, const Options& options, std::string panel) {
    MetricsInput in;
    in.sample = sample;
    in.panel = std::move(panel);
    in.version = KESTRELON_VERSION;
    in.sensorName = options.sensorName;
    return in;
}

std::string EscapeLabelValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '"') out += "\\\"";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string Exposition(const MetricsInput& in) {
    std::string out;
    for (const Family& family : kFamilies) {
        if (family.needsPanel && !in.sample.panelPresent) continue;
        std::string samples;
        const auto add = [&](const std::string& labels, std::optional<double> value) {
            if (value) samples += family.name + labels + " " + valueText(*value) + "\n";
        };
        switch (family.labels) {
            case Labels::None:
                add("", family.value(in, Channel::Cpu));
                break;
            case Labels::Info:
                add("{version=\"" + EscapeLabelValue(in.version) + "\",panel=\"" +
                        EscapeLabelValue(in.panel) + "\"}",
                    family.value(in, Channel::Cpu));
                break;
            case Labels::Sensor:
            case Labels::Fan:
                for (Channel ch : kAllChannels)
                    add(channelLabels(family.labels == Labels::Sensor ? "sensor" : "fan", in, ch),
                        family.value(in, ch));
                break;
        }
        if (samples.empty()) continue;
        out += std::string("# HELP ") + family.name + " " + family.help + "\n";
        out += std::string("# TYPE ") + family.name + " gauge\n";
        out += samples;
    }
    return out;
}

}  // namespace kestrelon
