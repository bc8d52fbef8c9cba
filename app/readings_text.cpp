// One reading of the panel as a line of text or JSON.
#include "app/readings_text.h"

#include <functional>

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

}  // namespace kestrelon
