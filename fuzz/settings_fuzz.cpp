// Settings.inf from arbitrary bytes: the lenient reader, LoadSettings, the key list of the null
// key, and the round trip of what was loaded through the text SaveSettings writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/ini_reader.h"
#include "settings/settings_file.h"

namespace {

using kestrelon::MonitorState;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether an alarm text loads back as it was saved. The text is written unchanged, but read back
// through the lenient reader (blanks around it trimmed, a pair of enclosing quotes taken off;
// the format has no escape for either) and rebuilt from its characters 1-2 and 4-5 around a
// colon, so a text without its colon in the third place grows one (":" loads as "::").
bool AlarmSurvivesSave(const std::string& alarm) {
    if (alarm.size() < 3 || alarm[2] != ':') return false;
    if (IsBlank(alarm.front()) || IsBlank(alarm.back())) return false;
    return !((alarm.front() == '"' || alarm.front() == '\'') && alarm.back() == alarm.front());
}

MonitorState LoadFrom(kestrelon::fuzz::MemoryFile& file, std::string_view text) {
    file.replace(text);
    MonitorState state;
    kestrelon::LoadSettings(state, file.path());
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrelon;
    static fuzz::MemoryFile file("Settings.inf");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const MonitorState loaded = LoadFrom(file, bytes);
    FUZZ_CHECK(loaded.dec_stat == !loaded.t_unit, "dec_stat is always !t_unit after a load");

    // The file read through a path and the same bytes parsed in memory agree on every key.
    const IniDocument parsed = IniDocument::Parse(bytes);
    const IniDocument fromFile = IniDocument::Load(file.path());
    const auto names = parsed.KeyNames(kSettingsSection);
    FUZZ_CHECK(fromFile.KeyNames(kSettingsSection) == names, "the file lists the same keys");
    const std::string list = ReadIniValue(kSettingsSection, nullptr, "none", file.path());
    if (!names) {
        FUZZ_CHECK(list == "none", "a missing section lists the default");
    } else {
        FUZZ_CHECK(list.size() < kIniKeyListBufferSize, "the key list fits its buffer");
        FUZZ_CHECK(list.empty() || list.back() == '\0', "the key list ends with a NUL");
        // The first keys only: every look-up is a search of the section.
        for (size_t i = 0; i < names->size() && i < 16; ++i) {
            const auto value = parsed.Find(kSettingsSection, (*names)[i]);
            FUZZ_CHECK(value.has_value(), "every listed key can be looked up");
            FUZZ_CHECK(value->size() < kIniValueBufferSize, "a value fits its buffer");
            FUZZ_CHECK(fromFile.Find(kSettingsSection, (*names)[i]) == value,
                       "the file and the same bytes in memory give the same value");
        }
    }

    // Saving what was loaded and loading it again gives the same settings, the alarm text when
    // it is one that survives (see above); after two more saves nothing changes any more.
    const auto before = SettingsEntries(loaded);
    MonitorState reloaded = LoadFrom(file, SettingsFileText(loaded));
    const auto after = SettingsEntries(reloaded);
    FUZZ_CHECK(before.size() == after.size(), "the same keys after a save");
    for (size_t i = 0; i < before.size(); ++i) {
        FUZZ_CHECK(before[i].first == after[i].first, "the same keys after a save");
        if (before[i].first == "alarm" && !AlarmSurvivesSave(loaded.alarm_time)) continue;
        FUZZ_CHECK(before[i].second == after[i].second, "a saved setting loads back unchanged");
    }
    for (int save = 0; save < 2; ++save) reloaded = LoadFrom(file, SettingsFileText(reloaded));
    FUZZ_CHECK(AlarmSurvivesSave(reloaded.alarm_time), "an alarm text settles in three saves");
    const MonitorState settled = LoadFrom(file, SettingsFileText(reloaded));
    FUZZ_CHECK(SettingsEntries(settled) == SettingsEntries(reloaded), "a settled file stays");
    return 0;
}
