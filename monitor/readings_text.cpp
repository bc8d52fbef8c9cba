// SPDX-License-Identifier: GPL-3.0-or-later
// One reading of the panel as a line of text or JSON.
#include "monitor/readings_text.h"

#include <charconv>
#include <functional>
#include <type_traits>
#include <vector>

namespace kestrelon {

namespace {

std::string join(const std::function<std::string(Channel)>& item, const std::string& gap) {
    std::string out;
    for (Channel ch : kAllChannels) out += (ch != Channel::Cpu ? gap : "") + item(ch);
    return out;
}

std::string join(const PerChannel<Reading>& values, const std::string& gap,
                 const std::string& missing) {
    return join([&](Channel ch) { return values[ch] ? std::to_string(*values[ch]) : missing; },
                gap);
}

std::string join(const PerChannel<int32_t>& values, const std::string& gap) {
    return join([&](Channel ch) { return std::to_string(values[ch]); }, gap);
}

}  // namespace

std::string ReadingJson(const MonitorState& s, const std::string& timeOfDay) {
    return "{\"time\": \"" + timeOfDay + "\", \"unit\": \"" +
           (s.settings.fahrenheit() ? "F" : "C") + "\", \"temperatures\": [" +
           join(s.readings.temperature, ", ", "null") + "], \"fans\": [" +
           join(s.readings.fanSpeed, ", ", "null") + "], \"fan_limits\": [" +
           join(s.readings.fanLimit, ", ") + "]}";
}

std::string ReadingText(const MonitorState& s, const std::string& timeOfDay) {
    return timeOfDay + "  temp " + (s.settings.fahrenheit() ? "°F " : "°C ") +
           join(s.readings.temperature, " ", "-") + "  fan " + join(s.readings.fanSpeed, " ", "-") +
           "  limit " + join(s.readings.fanLimit, " ");
}

std::string StatusRecord(const MonitorState& s, const std::string& panelPath) {
    return panelPath + "\t" + (s.settings.fahrenheit() ? "F" : "C") + "\t" +
           join(s.readings.temperature, " ", "-") + "\t" + join(s.readings.fanSpeed, " ", "-") +
           "\t" + join(s.readings.fanLimit, " ");
}

bool ParseStatusRecord(std::string_view record, MonitorState& s, std::string& panelPath) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = record.find('\t', start);
        fields.push_back(record.substr(start, tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (fields.size() != 5 || fields[0].empty() || (fields[1] != "C" && fields[1] != "F"))
        return false;
    // Four numbers (or "-" where a reading may be missing) separated by single blanks, nothing
    // else.
    const auto numbers = [](std::string_view text, auto& values) {
        const char* at = text.data();
        const char* end = text.data() + text.size();
        for (Channel ch : kAllChannels) {
            if (ch != Channel::Cpu && (at == end || *at++ != ' ')) return false;
            if constexpr (std::is_same_v<std::decay_t<decltype(values[ch])>, Reading>) {
                if (at != end && *at == '-' && (at + 1 == end || at[1] == ' ')) {
                    values[ch].reset();
                    ++at;
                    continue;
                }
            }
            int32_t value = 0;
            const auto [next, ec] = std::from_chars(at, end, value);
            if (ec != std::errc()) return false;
            values[ch] = value;
            at = next;
        }
        return at == end;
    };
    MonitorState read = s;
    if (!numbers(fields[2], read.readings.temperature) ||
        !numbers(fields[3], read.readings.fanSpeed) || !numbers(fields[4], read.readings.fanLimit))
        return false;
    read.settings.unit = unitFor(fields[1] == "F");
    s = read;
    panelPath = std::string(fields[0]);
    return true;
}

}  // namespace kestrelon
