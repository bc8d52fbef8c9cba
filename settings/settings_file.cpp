// SPDX-License-Identifier: GPL-3.0-or-later
// Load, save and listing of Settings.inf, all driven by one table of its keys.
#include "settings/settings_file.h"

#include <array>
#include <cstdint>
#include <iostream>
#include <variant>
#include <vector>

#include "settings/atomic_file.h"
#include "settings/ini_reader.h"
#include "settings/number_text.h"

namespace kestrelon {

namespace {

// How a value text becomes a field and how the field is written back.

// A 32-bit per-channel number (limits, fan set values); written as "##": 0 as nothing.
struct Long32 {
    PerChannel<int32_t> MonitorState::*member;
    int channel;
};
// A 16-bit number (the backlight colour); written as "#": 0 as nothing.
struct Integer16 {
    int16_t MonitorState::*member;
};
// A flag, set by any number that rounds to non-zero; written as "1" or "0".
struct Flag {
    bool MonitorState::*member;
};
// The alarm time, rebuilt as its characters 1-2, ":", 4-5; written so that it loads back as it is.
struct AlarmText {
    std::string MonitorState::*member;
};

using Field = std::variant<Long32, Integer16, Flag, AlarmText>;

struct Entry {
    std::string_view key;
    Field field;
};

// The file's lines after "[settings]", in the order they are written.
constexpr std::array<Entry, 20> kEntries{{
    {"st1", Long32{&MonitorState::st, 1}},
    {"st2", Long32{&MonitorState::st, 2}},
    {"st3", Long32{&MonitorState::st, 3}},
    {"st4", Long32{&MonitorState::st, 4}},
    {"fst1", Long32{&MonitorState::fst, 1}},
    {"fst2", Long32{&MonitorState::fst, 2}},
    {"fst3", Long32{&MonitorState::fst, 3}},
    {"fst4", Long32{&MonitorState::fst, 4}},
    {"color", Integer16{&MonitorState::back_color}},
    {"auto", Flag{&MonitorState::auto_stat}},
    {"t_unit", Flag{&MonitorState::t_unit}},
    {"alarm", AlarmText{&MonitorState::alarm_time}},
    {"sf1", Long32{&MonitorState::sf, 1}},
    {"sf2", Long32{&MonitorState::sf, 2}},
    {"sf3", Long32{&MonitorState::sf, 3}},
    {"sf4", Long32{&MonitorState::sf, 4}},
    {"msf1", Long32{&MonitorState::msf, 1}},
    {"msf2", Long32{&MonitorState::msf, 2}},
    {"msf3", Long32{&MonitorState::msf, 3}},
    {"msf4", Long32{&MonitorState::msf, 4}},
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

void ReadEntry(const Entry& entry, MonitorState& state, std::string_view text) {
    std::visit(Overloaded{
                   [&](const Long32& f) {
                       (state.*f.member)[f.channel] =
                           RoundToField<int32_t>(ParseLenientNumber(text));
                   },
                   [&](const Integer16& f) {
                       state.*f.member = RoundToField<int16_t>(ParseLenientNumber(text));
                   },
                   [&](const Flag& f) {
                       state.*f.member = RoundToField<int16_t>(ParseLenientNumber(text)) != 0;
                   },
                   [&](const AlarmText& f) { state.*f.member = RebuildAlarmText(text); },
               },
               entry.field);
}

std::string WriteEntry(const Entry& entry, const MonitorState& state, Form form) {
    return std::visit(
        Overloaded{
            [&](const Long32& f) { return NumberText((state.*f.member)[f.channel], form); },
            [&](const Integer16& f) { return NumberText(state.*f.member, form); },
            [&](const Flag& f) { return std::string(state.*f.member ? "1" : "0"); },
            [&](const AlarmText& f) {
                return form == Form::kFile ? AlarmFileText(state.*f.member) : state.*f.member;
            },
        },
        entry.field);
}

}  // namespace

void LoadSettings(MonitorState& state, const std::filesystem::path& path) {
    std::string error;
    const IniDocument document = IniDocument::Load(path, &error);
    if (!error.empty())
        std::cerr << "kestrelon: cannot read settings from " << path.string() << ": " << error
                  << ", using empty settings\n";
    for (const Entry& entry : kEntries)
        ReadEntry(entry, state, document.Find(kSettingsSection, entry.key).value_or(""));
    state.dec_stat = !state.t_unit;
}

std::string SettingsFileText(const MonitorState& state) {
    std::string text = "[settings]\r\n";
    for (const Entry& entry : kEntries) {
        text += entry.key;
        text += '=';
        text += WriteEntry(entry, state, Form::kFile);
        text += "\r\n";
    }
    return text;
}

bool SaveSettings(const MonitorState& state, const std::filesystem::path& path) {
    std::string error;
    if (ReplaceFileContent(path, SettingsFileText(state), error)) return true;
    std::cerr << "kestrelon: settings not saved, " << path.string() << " kept as it was: " << error
              << '\n';
    return false;
}

std::vector<std::pair<std::string, std::string>> SettingsEntries(const MonitorState& state) {
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(kEntries.size());
    for (const Entry& entry : kEntries)
        entries.emplace_back(std::string(entry.key), WriteEntry(entry, state, Form::kListing));
    return entries;
}

}  // namespace kestrelon
