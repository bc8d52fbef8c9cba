// SPDX-License-Identifier: GPL-3.0-or-later
// The control socket's requests: one line from a client, checked before anything acts on it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon {

// The longest request line, its newline excluded.
inline constexpr std::size_t kLongestControlRequest = 4096;

enum class ControlVerb {
    Show,
    ShowHistory,
    Reading,
    ReadingText,
    Status,
    Push,
    Unplug,
    Plug,
    Set,
    Metrics,
    History
};

// The longest span a "history SECONDS" request asks for: the running program's one-hour ring.
inline constexpr long kLongestHistoryRequest = 3600;

struct ControlRequest {
    ControlVerb verb = ControlVerb::Show;
    std::vector<std::string> items;  // KEY=VALUE, for Set only
    long seconds = 0;                // the last this many seconds, for History only

    // The request as one line with single blanks, as the program's handler takes it.
    std::string text() const;
};

// Parses one request line (without its newline; blanks around words are ignored). Nothing for
// a line that is too long, holds anything but printable ASCII, is empty, is not a known request,
// is a "set" without KEY=VALUE items, or a "history" without a number of seconds from 1 to
// kLongestHistoryRequest; `why` then says so in one line.
std::optional<ControlRequest> ParseControlRequest(std::string_view line, std::string& why);

// The longest answer line a client reads, its newline excluded (a history answer holds up to an
// hour of one row a second).
inline constexpr std::size_t kLongestControlAnswer = 16 * 1024 * 1024;

// An answer of several lines travels as one line: backslashes doubled, line feeds as "\n".
std::string FoldLines(std::string_view text);
// The text of a folded line; an escape it does not know is kept as it stands.
std::string UnfoldLines(std::string_view line);

}  // namespace kestrelon
