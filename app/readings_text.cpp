// SPDX-License-Identifier: GPL-3.0-or-later
// One reading of the panel as a line of text or JSON.
#include "app/readings_text.h"

#include <charconv>
#include <functional>
#include <vector>

namespace kestrelon {

namespace {

std::string join(const std::function<std::string(int)>& item, const std::string& gap) {
    std::string out;
    for (int ch = 1; ch <= kChannels; ++ch) out += (ch > 1 ? gap : "") + item(ch);
    return out;
}

}  // namespace

std::string ReadingJson(const MonitorState& s, const std::string& timeOfDay) {
    const auto temp = [&](int ch) {
        return s.new_t[ch] == 0 ? std::string("null") : std::to_string(s.new_t[ch]);
    };
    return "{\"time\": \"" + timeOfDay + "\", \"unit\": \"" + (s.t_unit ? "F" : "C") +
           "\", \"temperatures\": [" + join(temp, ", ") + "], \"fans\": [" +
           join([&](int ch) { return std::to_string(s.new_f[ch]); }, ", ") +
           "], \"fan_limits\": [" + join([&](int ch) { return std::to_string(s.lf[ch]); }, ", ") +
           "]}";
}

std::string ReadingText(const MonitorState& s, const std::string& timeOfDay) {
    const auto temp = [&](int ch) {
        return s.new_t[ch] == 0 ? std::string("-") : std::to_string(s.new_t[ch]);
    };
    return timeOfDay + "  temp " + (s.t_unit ? "°F " : "°C ") + join(temp, " ") + "  fan " +
           join([&](int ch) { return std::to_string(s.new_f[ch]); }, " ") + "  limit " +
           join([&](int ch) { return std::to_string(s.lf[ch]); }, " ");
}

std::string StatusRecord(const MonitorState& s, const std::string& panelPath) {
    const auto numbers = [&](const PerChannel<int32_t>& values) {
        return join([&](int ch) { return std::to_string(values[ch]); }, " ");
    };
    return panelPath + "\t" + (s.t_unit ? "F" : "C") + "\t" + numbers(s.new_t) + "\t" +
           numbers(s.new_f) + "\t" + numbers(s.lf);
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
        for (int ch = 1; ch <= kChannels; ++ch) {
            if (ch > 1 && (at == end || *at++ != ' ')) return false;
            const auto [next, ec] = std::from_chars(at, end, values[ch]);
            if (ec != std::errc()) return false;
            at = next;
        }
        return at == end;
    };
    MonitorState read = s;
    if (!numbers(fields[2], read.new_t) || !numbers(fields[3], read.new_f) ||
        !numbers(fields[4], read.lf))
        return false;
    read.t_unit = fields[1] == "F";
    read.dec_stat = !read.t_unit;
    s = read;
    panelPath = std::string(fields[0]);
    return true;
}

}  // namespace kestrelon
