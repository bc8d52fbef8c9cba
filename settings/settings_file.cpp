// SPDX-License-Identifier: GPL-3.0-or-later
// Load, save and listing of Settings.inf, all driven by one table of its keys.
#include "settings/settings_file.h"

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "core/log.h"
#include "settings/atomic_file.h"
#include "settings/ini_reader.h"
#include "settings/number_text.h"

namespace kestrelon {

namespace {

// How a value text becomes a field and how the field is written back.

// A 32-bit per-channel number (limits, fan set values); written as "##": 0 as nothing.
struct Long32 {
    PerChannel<int32_t> Settings::*member;
    Channel channel;
};
// The backlight colour, a 16-bit number; written as "#": 0 as nothing.
struct BacklightNumber {};
// A flag, set by any number that rounds to non-zero; written as "1" or "0".
struct Flag {
    bool (*get)(const Settings&);
    void (*set)(Settings&, bool);
};
// The alarm time, rebuilt as its characters 1-2, ":", 4-5; written so that it loads back as it is.
struct AlarmText {};

using Field = std::variant<Long32, BacklightNumber, Flag, AlarmText>;

struct Entry {
    std::string_view key;
    Field field;
};

constexpr Flag kFanModeFlag{[](const Settings& s) { return s.fansAutomatic(); },
                            [](Settings& s, bool on) { s.fanMode = fanModeFor(on); }};
constexpr Flag kUnitFlag{[](const Settings& s) { return s.fahrenheit(); },
                         [](Settings& s, bool on) { s.unit = unitFor(on); }};

// The file's lines after "[settings]", in the order they are written.
constexpr std::array<Entry, 20> kEntries{{
    {"st1", Long32{&Settings::limitCelsius, Channel::Cpu}},
    {"st2", Long32{&Settings::limitCelsius, Channel::Hdd}},
    {"st3", Long32{&Settings::limitCelsius, Channel::Vga}},
    {"st4", Long32{&Settings::limitCelsius, Channel::Case}},
    {"fst1", Long32{&Settings::limitFahrenheit, Channel::Cpu}},
    {"fst2", Long32{&Settings::limitFahrenheit, Channel::Hdd}},
    {"fst3", Long32{&Settings::limitFahrenheit, Channel::Vga}},
    {"fst4", Long32{&Settings::limitFahrenheit, Channel::Case}},
    {"color", BacklightNumber{}},
    {"auto", kFanModeFlag},
    {"t_unit", kUnitFlag},
    {"alarm", AlarmText{}},
    {"sf1", Long32{&Settings::fanSetPoint, Channel::Cpu}},
    {"sf2", Long32{&Settings::fanSetPoint, Channel::Hdd}},
    {"sf3", Long32{&Settings::fanSetPoint, Channel::Vga}},
    {"sf4", Long32{&Settings::fanSetPoint, Channel::Case}},
    {"msf1", Long32{&Settings::manualFanSpeed, Channel::Cpu}},
    {"msf2", Long32{&Settings::manualFanSpeed, Channel::Hdd}},
    {"msf3", Long32{&Settings::manualFanSpeed, Channel::Vga}},
    {"msf4", Long32{&Settings::manualFanSpeed, Channel::Case}},
}};

// In the file a zero number is written as nothing; a listing shows it as "0". The file also
// writes the alarm text in the form that loads back unchanged; a listing shows it as loaded.
enum class Form { kFile, kListing };

std::string NumberText(int32_t value, Form form) {
    return value == 0 && form == Form::kFile ? std::string{} : std::to_string(value);
}

std::string RebuildAlarmText(std::string_view raw) {
    std::string text(raw.substr(0, 2));
    text += ':';
    if (raw.size() > 3) text += raw.substr(3, 2);
    return text;
}

// The value text that loads back as `alarm` through the reader and the rebuild. A well-formed
// time is written unchanged. A short text such as ":" or "9:" (what a missing or cut value loads
// as) goes without the colon the rebuild adds back, and a text the reader would trim or unquote
// goes in quotes: written unchanged, those changed at every save (":" became "::", " 7:30" came
// back as "7::0").
std::string AlarmFileText(const std::string& alarm) {
    const auto loadsBack = [&](const std::string& written) {
        return RebuildAlarmText(IniValueAsRead(written)) == alarm;
    };
    std::vector<std::string> candidates{alarm};
    if (!alarm.empty() && alarm.back() == ':')
        candidates.push_back(alarm.substr(0, alarm.size() - 1));
    for (const std::string& text : candidates)
        for (const std::string& written : {text, '"' + text + '"'})
            if (loadsBack(written)) return written;
    return alarm;  // no text loads back as this one; it was never loaded from a file
}

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

void ReadEntry(const Entry& entry, Settings& settings, std::string_view text) {
    std::visit(Overloaded{
                   [&](const Long32& f) {
                       (settings.*f.member)[f.channel] =
                           RoundToField<int32_t>(ParseLenientNumber(text));
                   },
                   [&](const BacklightNumber&) {
                       settings.backlight =
                           static_cast<Backlight>(RoundToField<int16_t>(ParseLenientNumber(text)));
                   },
                   [&](const Flag& f) {
                       f.set(settings, RoundToField<int16_t>(ParseLenientNumber(text)) != 0);
                   },
                   [&](const AlarmText&) { settings.alarm.text = RebuildAlarmText(text); },
               },
               entry.field);
}

std::string WriteEntry(const Entry& entry, const Settings& settings, Form form) {
    return std::visit(
        Overloaded{
            [&](const Long32& f) { return NumberText((settings.*f.member)[f.channel], form); },
            [&](const BacklightNumber&) {
                return NumberText(static_cast<int16_t>(settings.backlight), form);
            },
            [&](const Flag& f) { return std::string(f.get(settings) ? "1" : "0"); },
            [&](const AlarmText&) {
                const std::string& alarm = settings.alarm.text;
                return form == Form::kFile ? AlarmFileText(alarm) : alarm;
            },
        },
        entry.field);
}

}  // namespace

void LoadSettings(Settings& settings, const std::filesystem::path& path) {
    std::string error;
    const IniDocument document = IniDocument::Load(path, &error);
    if (!error.empty())
        LogLine("cannot read settings from " + path.string() + ": " + error +
                ", using empty settings");
    for (const Entry& entry : kEntries)
        ReadEntry(entry, settings, document.Find(kSettingsSection, entry.key).value_or(""));
}

std::string SettingsFileText(const Settings& settings) {
    std::string text = "[settings]\r\n";
    for (const Entry& entry : kEntries) {
        text += entry.key;
        text += '=';
        text += WriteEntry(entry, settings, Form::kFile);
        text += "\r\n";
    }
    return text;
}

bool SaveSettings(const Settings& settings, const std::filesystem::path& path) {
    std::string error;
    if (ReplaceFileContent(path, SettingsFileText(settings), error)) return true;
    LogLine("settings not saved, " + path.string() + " kept as it was: " + error);
    return false;
}

std::vector<std::pair<std::string, std::string>> SettingsEntries(const Settings& settings) {
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(kEntries.size());
    for (const Entry& entry : kEntries)
        entries.emplace_back(std::string(entry.key), WriteEntry(entry, settings, Form::kListing));
    return entries;
}

}  // namespace kestrelon
