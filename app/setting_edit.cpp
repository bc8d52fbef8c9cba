// SPDX-License-Identifier: GPL-3.0-or-later
// Settings changed from the command line.
#include "app/setting_edit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "input/adjusters.h"
#include "settings/number_text.h"

namespace kestrelon {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<int64_t> wholeNumber(std::string_view text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end || text.empty()) return std::nullopt;
    return value;
}

// The value of a word or a number from a small table, e.g. color=blue or color=2.
std::optional<int> named(std::string_view text,
                         std::initializer_list<std::pair<const char*, int>> names, int top) {
    const std::string word = lower(text);
    for (const auto& [name, value] : names)
        if (word == name) return value;
    if (auto n = wholeNumber(text); n && *n >= 0 && *n <= top) return static_cast<int>(*n);
    return std::nullopt;
}

// "HH:MM" or "H:MM" of a real time of day, written back as "HH:MM".
std::optional<std::string> alarmTime(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon != 3)
        return std::nullopt;
    const auto hour = wholeNumber(text.substr(0, colon));
    const auto minute = wholeNumber(text.substr(colon + 1));
    if (!hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59)
        return std::nullopt;
    char out[8];
    std::snprintf(out, sizeof out, "%02d:%02d", static_cast<int>(*hour), static_cast<int>(*minute));
    return std::string(out);
}

// The channel of a per-channel key ("st3" with prefix "st" gives 3), or 0.
int channelOf(std::string_view key, std::string_view prefix) {
    if (key.size() != prefix.size() + 1 || key.substr(0, prefix.size()) != prefix) return 0;
    const char digit = key.back();
    return digit >= '1' && digit <= '4' ? digit - '0' : 0;
}

// Applies one item to `s`; a non-empty result says why it was refused.
std::string applyOne(MonitorState& s, const std::string& item) {
    const auto eq = item.find('=');
    if (eq == std::string::npos || eq == 0) return item + ": expected KEY=VALUE";
    const std::string key = lower(item.substr(0, eq));
    const std::string_view value = std::string_view(item).substr(eq + 1);
    const auto number = wholeNumber(value);
    const auto refuse = [&](const std::string& rule) { return key + "=" + std::string(value) + ": " + rule; };

    if (int ch = channelOf(key, "st")) {
        if (!number || *number < kLimitMinC || *number > kLimitMaxC)
            return refuse("a limit in °C lies between 25 and 90");
        s.st[ch] = static_cast<int32_t>(*number);
        s.fst[ch] = CelsiusToFahrenheit(s.st[ch]);
    } else if (int ch = channelOf(key, "fst")) {
        if (!number || *number < kLimitMinF || *number > kLimitMaxF)
            return refuse("a limit in °F lies between 77 and 194");
        s.fst[ch] = static_cast<int32_t>(*number);
        s.st[ch] = FahrenheitToCelsius(s.fst[ch]);
    } else if (int ch = channelOf(key, "sf")) {
        const int64_t top = s.lf[ch] > 0 ? s.lf[ch] : 65535;
        if (!number || *number < 0 || *number > top)
            return refuse("fan " + std::to_string(ch) + "'s set point lies between 0 and " +
                          std::to_string(top));
        s.sf[ch] = static_cast<int32_t>(*number);
    } else if (int ch = channelOf(key, "msf")) {
        const int32_t limit = s.lf[ch];
        const int64_t bottom = limit > 0 ? RoundToField<int32_t>(limit / 2.0) : 0;
        const int64_t top = limit > 0 ? limit : 65535;
        if (!number || *number < bottom || *number > top)
            return refuse("fan " + std::to_string(ch) + "'s manual speed lies between " +
                          std::to_string(bottom) + " and " + std::to_string(top) +
                          (limit > 0 ? " (half its limit and its limit)" : ""));
        s.msf[ch] = static_cast<int32_t>(*number);
    } else if (key == "color") {
        const auto c = named(value, {{"off", 0}, {"red", 1}, {"blue", 2}, {"purple", 3}}, 3);
        if (!c) return refuse("the backlight is off, red, blue or purple (0 to 3)");
        s.back_color = static_cast<int16_t>(*c);
    } else if (key == "auto") {
        const auto a = named(value, {{"manual", 0}, {"auto", 1}, {"automatic", 1}}, 1);
        if (!a) return refuse("the fan mode is auto or manual (1 or 0)");
        s.auto_stat = *a == 1;
    } else if (key == "t_unit") {
        const auto f = named(value, {{"c", 0}, {"celsius", 0}, {"f", 1}, {"fahrenheit", 1}}, 1);
        if (!f) return refuse("the unit is C or F (0 or 1)");
        s.t_unit = *f == 1;
        s.dec_stat = !s.t_unit;
    } else if (key == "alarm") {
        const auto t = alarmTime(value);
        if (!t) return refuse("the alarm is a time of day, HH:MM");
        s.alarm_time = *t;
    } else {
        return item.substr(0, eq) + ": no such setting (st1-4, fst1-4, sf1-4, msf1-4, color, auto, "
                                    "t_unit, alarm)";
    }
    return {};
}

}  // namespace

bool ApplySettingEdits(MonitorState& state, const std::vector<std::string>& items, std::string& why) {
    if (items.empty()) {
        why = "set needs at least one KEY=VALUE";
        return false;
    }
    MonitorState edited = state;
    for (const std::string& item : items) {
        why = applyOne(edited, item);
        if (!why.empty()) return false;
    }
    state = edited;
    return true;
}

int PushChangedSettings(const MonitorState& before, const MonitorState& after,
                        PanelProtocol& panel) {
    int pushes = 0;
    const auto pairDiffers = [](const PerChannel<int32_t>& a, const PerChannel<int32_t>& b,
                                ChannelPair pair) {
        const int first = firstChannel(pair);
        return a[first] != b[first] || a[first + 1] != b[first + 1];
    };
    if (before.st != after.st) panel.PushTempLimits(), ++pushes;
    if (before.fst != after.fst) panel.PushTempLimitsF(), ++pushes;
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) {
        if (pairDiffers(before.sf, after.sf, pair)) panel.PushFanSetpoints(pair), ++pushes;
        if (pairDiffers(before.msf, after.msf, pair)) panel.PushManualFanSpeeds(pair), ++pushes;
    }
    if (before.alarm_time != after.alarm_time) panel.PushAlarmTime(), ++pushes;
    if (before.back_color != after.back_color || before.auto_stat != after.auto_stat ||
        before.t_unit != after.t_unit)
        panel.PushStatusRegister(), ++pushes;
    return pushes;
}

}  // namespace kestrelon
