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

enum class ControlVerb { Show, ShowHistory, Reading, ReadingText, Status, Push, Unplug, Plug, Set };

struct ControlRequest {
    ControlVerb verb = ControlVerb::Show;
    std::vector<std::string> items;  // KEY=VALUE, for Set only

    // The request as one line with single blanks, as the program's handler takes it.
    std::string text() const;
};

// Parses one request line (without its newline; blanks around words are ignored). Nothing for
// a line that is too long, holds anything but printable ASCII, is empty, is not a known request,
// or is a "set" without KEY=VALUE items; `why` then says so in one line.
std::optional<ControlRequest> ParseControlRequest(std::string_view line, std::string& why);

}  // namespace kestrelon
