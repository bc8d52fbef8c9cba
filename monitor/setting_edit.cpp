// SPDX-License-Identifier: GPL-3.0-or-later
// Settings changed from the command line.
#include "monitor/setting_edit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "input/adjusters.h"
#include "settings/number_text.h"
#include "settings/settings_file.h"

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

// The channel of a per-channel key ("st3" with prefix "st" is the third), or nothing.
std::optional<Channel> channelOf(std::string_view key, std::string_view prefix) {
    if (key.size() != prefix.size() + 1 || key.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    return channelFromNumber(key.back() - '0');
}

// Applies one item to `s`; a non-empty result says why it was refused.
std::string applyOne(MonitorState& s, const std::string& item) {
    const auto eq = item.find('=');
    if (eq == std::string::npos || eq == 0) return item + ": expected KEY=VALUE";
    const std::string key = lower(item.substr(0, eq));
    const std::string_view value = std::string_view(item).substr(eq + 1);
    const auto number = wholeNumber(value);
    const auto refuse = [&](const std::string& rule) {
        return key + "=" + std::string(value) + ": " + rule;
    };

    if (const auto found = channelOf(key, "st")) {
        const Channel ch = *found;
        if (!number || *number < kLimitMinC || *number > kLimitMaxC)
            return refuse("a limit in °C lies between " + std::to_string(kLimitMinC) + " and " +
                          std::to_string(kLimitMaxC));
        s.settings.limitCelsius[ch] = static_cast<int32_t>(*number);
        s.settings.limitFahrenheit[ch] = CelsiusToFahrenheit(s.settings.limitCelsius[ch]);
    } else if (const auto found = channelOf(key, "fst")) {
        const Channel ch = *found;
        if (!number || *number < kLimitMinF || *number > kLimitMaxF)
            return refuse("a limit in °F lies between " + std::to_string(kLimitMinF) + " and " +
                          std::to_string(kLimitMaxF));
        s.settings.limitFahrenheit[ch] = static_cast<int32_t>(*number);
        s.settings.limitCelsius[ch] = FahrenheitToCelsius(s.settings.limitFahrenheit[ch]);
    } else if (const auto found = channelOf(key, "sf")) {
        const Channel ch = *found;
        const int64_t top = s.readings.fanLimit[ch] > 0 ? s.readings.fanLimit[ch] : 65535;
        if (!number || *number < 0 || *number > top)
            return refuse("fan " + std::to_string(channelNumber(ch)) +
                          "'s set point lies between 0 and " + std::to_string(top));
        s.settings.fanSetPoint[ch] = static_cast<int32_t>(*number);
    } else if (const auto found = channelOf(key, "msf")) {
        const Channel ch = *found;
        const int32_t limit = s.readings.fanLimit[ch];
        const int64_t bottom = limit > 0 ? RoundToField<int32_t>(limit / 2.0) : 0;
        const int64_t top = limit > 0 ? limit : 65535;
        if (!number || *number < bottom || *number > top)
            return refuse("fan " + std::to_string(channelNumber(ch)) +
                          "'s manual speed lies between " + std::to_string(bottom) + " and " +
                          std::to_string(top) +
                          (limit > 0 ? " (half its limit and its limit)" : ""));
        s.settings.manualFanSpeed[ch] = static_cast<int32_t>(*number);
    } else if (key == "color") {
        const auto c = named(value, {{"off", 0}, {"red", 1}, {"blue", 2}, {"purple", 3}}, 3);
        if (!c) return refuse("the backlight is off, red, blue or purple (0 to 3)");
        s.settings.backlight = static_cast<Backlight>(*c);
    } else if (key == "auto") {
        const auto a = named(value, {{"manual", 0}, {"auto", 1}, {"automatic", 1}}, 1);
        if (!a) return refuse("the fan mode is auto or manual (1 or 0)");
        s.settings.fanMode = fanModeFor(*a == 1);
    } else if (key == "t_unit") {
        const auto f = named(value, {{"c", 0}, {"celsius", 0}, {"f", 1}, {"fahrenheit", 1}}, 1);
        if (!f) return refuse("the unit is C or F (0 or 1)");
        s.settings.unit = unitFor(*f == 1);
    } else if (key == "alarm") {
        const auto t = alarmTime(value);
        if (!t) return refuse("the alarm is a time of day, HH:MM");
        s.settings.alarm.text = *t;
    } else {
        return item.substr(0, eq) + ": no such setting (st1-4, fst1-4, sf1-4, msf1-4, color, auto, "
                                    "t_unit, alarm)";
    }
    return {};
}

}  // namespace

bool ApplySettingEdits(MonitorState& state, const std::vector<std::string>& items,
                       std::string& why) {
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

PushReport PushChangedSettings(const MonitorState& before, const MonitorState& after,
                               PanelProtocol& panel) {
    PushReport report;
    const auto pairDiffers = [](const PerChannel<int32_t>& a, const PerChannel<int32_t>& b,
                                ChannelPair pair) {
        const auto [first, second] = channelsOf(pair);
        return a[first] != b[first] || a[second] != b[second];
    };
    const auto push = [&](RegisterFamily family, ChannelPair pair, WriteOutcome outcome) {
        report.add(registerRow(family, pair).reg, outcome);
    };
    constexpr ChannelPair kOnly = ChannelPair::First;
    const Settings& was = before.settings;
    const Settings& now = after.settings;
    if (was.limitCelsius != now.limitCelsius)
        push(RegisterFamily::TempLimits, kOnly, panel.PushTempLimits());
    if (was.limitFahrenheit != now.limitFahrenheit)
        push(RegisterFamily::TempLimitsF, kOnly, panel.PushTempLimitsF());
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) {
        if (pairDiffers(was.fanSetPoint, now.fanSetPoint, pair))
            push(RegisterFamily::FanSetpoints, pair, panel.PushFanSetpoints(pair));
        if (pairDiffers(was.manualFanSpeed, now.manualFanSpeed, pair))
            push(RegisterFamily::ManualFanSpeeds, pair, panel.PushManualFanSpeeds(pair));
    }
    if (was.alarm.text != now.alarm.text)
        push(RegisterFamily::AlarmTime, kOnly, panel.PushAlarmTime());
    if (was.backlight != now.backlight || was.fanMode != now.fanMode || was.unit != now.unit)
        push(RegisterFamily::Status, kOnly, panel.PushStatusRegister());
    return report;
}

SettingEditResult EditSettings(MonitorState& state, const std::vector<std::string>& items,
                               const std::filesystem::path& path, PanelProtocol* panel) {
    SettingEditResult result;
    const MonitorState before = state;
    if (!ApplySettingEdits(state, items, result.why)) return result;
    if (!SaveSettings(state.settings, path)) {
        state = before;
        result.outcome = SettingEditResult::Outcome::NotSaved;
        result.why = "cannot save " + path.string() + "; nothing changed";
        return result;
    }
    result.outcome = SettingEditResult::Outcome::Saved;
    if (panel) result.push = PushChangedSettings(before, state, *panel);
    return result;
}

}  // namespace kestrelon
