// SPDX-License-Identifier: GPL-3.0-or-later
// Keyed reading of INI text with the lenient rules of the classic private-profile reader.
//
// The rules, as that reader applies them:
//  - A line is ended by CR LF, LF or a lone CR; a UTF-8 byte-order mark before the first line is
//    ignored. Blanks (spaces, tabs) around section names, key names and values are dropped.
//  - "[name]" starts a section; text after the "]" is ignored, a missing "]" ends the name at the
//    end of the line. Section and key names match without regard to ASCII case. A section name
//    that occurs twice is one section whose lines are searched in file order.
//  - A line whose first non-blank character is ";" is a comment: it names no key and is not
//    listed. A ";" later in a line is part of the value ("st1=72 ; cpu" has the value "72 ; cpu").
//  - "key=value" splits at the first "="; the first line with a matching key in the section
//    wins. A value enclosed in a matching pair of single or double quotes loses the quotes.
//  - A line without "=" inside a section names a key with an empty value: it is listed, and a
//    look-up of it gives "" rather than the default. Lines before the first section, blank lines
//    and lines with an empty key name are ignored.
//  - A value is cut to 1023 characters (a 1024-character buffer with its terminating NUL).
//  - A missing file reads as an empty one; so does one that cannot be read (the loader says why).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon {

inline constexpr std::size_t kIniValueBufferSize = 1024;    // buffer of a key look-up
inline constexpr std::size_t kIniKeyListBufferSize = 4096;  // buffer of the list of key names

// One INI text, parsed once, for any number of look-ups.
class IniDocument {
public:
    static IniDocument Parse(std::string_view text);

    // Reads and parses `path`. A missing file gives an empty document and no error; a file that
    // exists but cannot be read gives an empty document and, when `error` is given, the reason.
    static IniDocument Load(const std::filesystem::path& path, std::string* error = nullptr);

    // The value of `key` in `section`, cut to 1023 characters; nullopt when either is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The key names of `section` in file order (duplicates included); nullopt when it is missing.
    std::optional<std::vector<std::string>> KeyNames(std::string_view section) const;

private:
    struct Line {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    std::vector<Section> sections_;
};

// What a value written after "key=" reads back as: blanks around it dropped, then a matching
// pair of enclosing quotes (not yet cut to the buffer).
std::string_view IniValueAsRead(std::string_view written);

// The value of `key` in `section` of the file at `path`, or `default_value` (its trailing blanks
// dropped) when the file, the section or the key is missing. At most 1023 characters.
std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view default_value, const std::filesystem::path& path);

// The null key: the names of all keys of `section`, each ended by a NUL character, read through a
// 4096-character buffer (a list that does not fit is cut, the last name keeping its NUL). A
// missing file or section gives `default_value`, as a missing key does.
std::string ReadIniValue(std::string_view section, std::nullptr_t key,
                         std::string_view default_value, const std::filesystem::path& path);

}  // namespace kestrelon
