// SPDX-License-Identifier: GPL-3.0-or-later
// One reading of the panel as a line of text or JSON.
#include "monitor/readings_text.h"

#include <charconv>
#include <functional>
#include <vector>

namespace kestrelon {

namespace {

std::string join(const std::function<std::string(Channel)>& item, const std::string& gap) {
    std::string out;
    for (Channel ch : kAllChannels) out += (ch != Channel::Cpu ? gap : "") + item(ch);
    return out;
}

}  // namespace

std::string ReadingJson(const MonitorState& s, const std::string& timeOfDay) {
    const auto temp = [&](Channel ch) {
        return s.readings.temperature[ch] == 0 ? std::string("null")
                                               : std::to_string(s.readings.temperature[ch]);
    };
    return "{\"time\": \"" + timeOfDay + "\", \"unit\": \"" +
           (s.settings.fahrenheit() ? "F" : "C") + "\", \"temperatures\": [" + join(temp, ", ") +
           "], \"fans\": [" +
           join([&](Channel ch) { return std::to_string(s.readings.fanSpeed[ch]); }, ", ") +
           "], \"fan_limits\": [" +
           join([&](Channel ch) { return std::to_string(s.readings.fanLimit[ch]); }, ", ") + "]}";
}

std::string ReadingText(const MonitorState& s, const std::string& timeOfDay) {
    const auto temp = [&](Channel ch) {
        return s.readings.temperature[ch] == 0 ? std::string("-")
                                               : std::to_string(s.readings.temperature[ch]);
    };
    return timeOfDay + "  temp " + (s.settings.fahrenheit() ? "°F " : "°C ") + join(temp, " ") +
           "  fan " +
           join([&](Channel ch) { return std::to_string(s.readings.fanSpeed[ch]); }, " ") +
           "  limit " +
           join([&](Channel ch) { return std::to_string(s.readings.fanLimit[ch]); }, " ");
}

std::string StatusRecord(const MonitorState& s, const std::string& panelPath) {
    const auto numbers = [&](const PerChannel<int32_t>& values) {
        return join([&](Channel ch) { return std::to_string(values[ch]); }, " ");
    };
    return panelPath + "\t" + (s.settings.fahrenheit() ? "F" : "C") + "\t" +
           numbers(s.readings.temperature) + "\t" + numbers(s.readings.fanSpeed) + "\t" +
           numbers(s.readings.fanLimit);
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
    // Four numbers separated by single blanks, nothing else.
    const auto numbers = [](std::string_view text, PerChannel<int32_t>& values) {
        const char* at = text.data();
        const char* end = text.data() + text.size();
        for (Channel ch : kAllChannels) {
            if (ch != Channel::Cpu && (at == end || *at++ != ' ')) return false;
            const auto [next, ec] = std::from_chars(at, end, values[ch]);
            if (ec != std::errc()) return false;
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
