// SPDX-License-Identifier: GPL-3.0-or-later
// Settings.inf from arbitrary bytes: the lenient reader, LoadSettings, the key list of the null
// key, and the round trip of what was loaded through the text SaveSettings writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/monitor_state.h"
#include "fuzz/fuzz_check.h"
#include "settings/ini_reader.h"
#include "settings/settings_file.h"

namespace {

using kestrelon::MonitorState;

MonitorState LoadFrom(kestrelon::fuzz::MemoryFile& file, std::string_view text) {
    file.replace(text);
    MonitorState state;
    kestrelon::LoadSettings(state.settings, file.path());
    return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrelon;
    static fuzz::MemoryFile file("Settings.inf");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const MonitorState loaded = LoadFrom(file, bytes);

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

    // Saving what was loaded and loading it again gives the same settings, and saving that
    // gives the same file again.
    const std::string saved = SettingsFileText(loaded.settings);
    const MonitorState reloaded = LoadFrom(file, saved);
    FUZZ_CHECK(SettingsEntries(reloaded.settings) == SettingsEntries(loaded.settings),
               "a saved setting loads back unchanged");
    FUZZ_CHECK(SettingsFileText(reloaded.settings) == saved,
               "a saved file is written again the same");
    return 0;
}
