// SPDX-License-Identifier: GPL-3.0-or-later
// Lenient INI reader: parses a file once and answers keyed look-ups and key lists.
#include "settings/ini_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/unique_fd.h"

namespace kestrelon {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

std::string CutToBuffer(std::string_view text) {
    return std::string(text.substr(0, kIniValueBufferSize - 1));
}

// Splits at CR LF, LF or a lone CR and hands every line to `each`.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            each(text.substr(start));
            return;
        }
        each(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

// The default as the caller's buffer receives it: trailing blanks dropped, cut to the buffer.
std::string DefaultText(std::string_view default_value) {
    while (!default_value.empty() && IsBlank(default_value.back())) default_value.remove_suffix(1);
    return CutToBuffer(default_value);
}

}  // namespace

std::string_view IniValueAsRead(std::string_view written) {
    return Unquote(TrimBlanks(written));
}

IniDocument IniDocument::Parse(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());

    IniDocument document;
    Section* current = nullptr;
    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';') return;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name =
                TrimBlanks(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            current = nullptr;
            for (Section& section : document.sections_)
                if (SameName(section.name, name)) current = &section;
            if (current == nullptr) {
                document.sections_.push_back(Section{std::string(name), {}});
                current = &document.sections_.back();
            }
            return;
        }
        if (current == nullptr) return;
        const std::size_t equals = line.find('=');
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (key.empty()) return;
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view{}
                                           : IniValueAsRead(line.substr(equals + 1));
        current->lines.push_back(Line{std::string(key), CutToBuffer(value)});
    });
    return document;
}

IniDocument IniDocument::Load(const std::filesystem::path& path, std::string* error) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno != ENOENT && errno != ENOTDIR && error != nullptr) *error = std::strerror(errno);
        return IniDocument{};
    }
    std::string text;
    char chunk[8192];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            if (error != nullptr) *error = std::strerror(errno);
            return IniDocument{};
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return Parse(text);
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const std::string_view wanted_section = TrimBlanks(section);
    const std::string_view wanted_key = TrimBlanks(key);
    for (const Section& candidate : sections_) {
        if (!SameName(candidate.name, wanted_section)) continue;
        for (const Line& line : candidate.lines)
            if (SameName(line.key, wanted_key)) return line.value;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> IniDocument::KeyNames(std::string_view section) const {
    const std::string_view wanted_section = TrimBlanks(section);
    for (const Section& candidate : sections_) {
        if (!SameName(candidate.name, wanted_section)) continue;
        std::vector<std::string> names;
        names.reserve(candidate.lines.size());
        for (const Line& line : candidate.lines) names.push_back(line.key);
        return names;
    }
    return std::nullopt;
}

std::string ReadIniValue(std::string_view section, std::string_view key,
                         std::string_view default_value, const std::filesystem::path& path) {
    if (auto value = IniDocument::Load(path).Find(section, key)) return *std::move(value);
    return DefaultText(default_value);
}

std::string ReadIniValue(std::string_view section, std::nullptr_t, std::string_view default_value,
                         const std::filesystem::path& path) {
    const auto names = IniDocument::Load(path).KeyNames(section);
    if (!names) return DefaultText(default_value);
    std::string list;
    for (const std::string& name : *names) {
        list += name;
        list.push_back('\0');
    }
    // The buffer also holds the list's final NUL; a cut name still ends with its own.
    if (list.size() > kIniKeyListBufferSize - 1) {
        list.resize(kIniKeyListBufferSize - 2);
        list.push_back('\0');
    }
    return list;
}

}  // namespace kestrelon
