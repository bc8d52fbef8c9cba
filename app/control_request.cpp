// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing the control socket's request lines.
#include "app/control_request.h"

#include <array>
#include <utility>

namespace kestrelon {

namespace {

struct VerbName {
    ControlVerb verb;
    std::string_view name;  // words joined by one blank
};
constexpr std::array<VerbName, 11> kVerbs{{
    {ControlVerb::Show, "show"},
    {ControlVerb::ShowHistory, "show history"},
    {ControlVerb::Reading, "reading"},
    {ControlVerb::ReadingText, "reading text"},
    {ControlVerb::Status, "status"},
    {ControlVerb::Push, "push"},
    {ControlVerb::Unplug, "unplug"},
    {ControlVerb::Plug, "plug"},
    {ControlVerb::Set, "set"},
    {ControlVerb::Metrics, "metrics"},
    {ControlVerb::History, "history"},
}};
// How much of an unknown request the error repeats.
constexpr std::size_t kQuotedLength = 40;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool isSetting(std::string_view item) {
    const std::size_t eq = item.find('=');
    return eq != std::string_view::npos && eq > 0 && eq + 1 < item.size();
}

}  // namespace

std::string ControlRequest::text() const {
    std::string out;
    for (const VerbName& v : kVerbs)
        if (v.verb == verb) out = v.name;
    for (const std::string& item : items) out += " " + item;
    if (verb == ControlVerb::History) out += " " + std::to_string(seconds);
    return out;
}

std::optional<ControlRequest> ParseControlRequest(std::string_view line, std::string& why) {
    if (line.size() > kLongestControlRequest) {
        why = "request too long (more than " + std::to_string(kLongestControlRequest) + " bytes)";
        return std::nullopt;
    }
    for (const char c : line)
        if (c < ' ' || c > '~') {
            why = "malformed request: only printable ASCII is understood";
            return std::nullopt;
        }
    const std::vector<std::string_view> w = words(line);
    if (w.empty()) {
        why = "malformed request: the line is empty";
        return std::nullopt;
    }
    ControlRequest request;
    if (w[0] == "set") {
        if (w.size() == 1) {
            why = "malformed request: set needs KEY=VALUE items";
            return std::nullopt;
        }
        for (std::size_t i = 1; i < w.size(); ++i) {
            if (!isSetting(w[i])) {
                why = "malformed request: set takes KEY=VALUE items, not " +
                      std::string(w[i].substr(0, kQuotedLength));
                return std::nullopt;
            }
            request.items.emplace_back(w[i]);
        }
        request.verb = ControlVerb::Set;
        return request;
    }
    if (w[0] == "history") {
        // A whole number of seconds: digits only, at most four of them.
        long seconds = 0;
        bool number = w.size() == 2 && !w[1].empty() && w[1].size() <= 4;
        for (const char c : number ? w[1] : std::string_view()) {
            number = number && c >= '0' && c <= '9';
            seconds = seconds * 10 + (c - '0');
        }
        if (!number || seconds < 1 || seconds > kLongestHistoryRequest) {
            why = "malformed request: history takes a number of seconds from 1 to " +
                  std::to_string(kLongestHistoryRequest);
            return std::nullopt;
        }
        request.verb = ControlVerb::History;
        request.seconds = seconds;
        return request;
    }
    std::string joined;
    for (const std::string_view word : w) joined += (joined.empty() ? "" : " ") + std::string(word);
    for (const VerbName& v : kVerbs)
        if (v.verb != ControlVerb::Set && v.verb != ControlVerb::History && v.name == joined) {
            request.verb = v.verb;
            return request;
        }
    why = "unknown request: " + joined.substr(0, kQuotedLength);
    return std::nullopt;
}

std::string FoldLines(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string UnfoldLines(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'n' || line[i + 1] == '\\')) {
            out += line[++i] == 'n' ? '\n' : '\\';
            continue;
        }
        out += line[i];
    }
    return out;
}

}  // namespace kestrelon
