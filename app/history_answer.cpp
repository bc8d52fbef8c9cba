// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and reading the history answer of the control socket.
#include "app/history_answer.h"

#include <charconv>
#include <string_view>

#include "history/history_csv.h"

namespace kestrelon {

std::string HistoryAnswer(const HistoryRows& rows) {
    std::string out;
    for (const HistoryRow& row : rows)
        out += (out.empty() ? "" : ";") + std::to_string(row.spanSeconds) + "," + FormatCsvRow(row);
    return out;
}

std::optional<HistoryRows> ParseHistoryAnswer(const std::string& text) {
    HistoryRows rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view item = std::string_view(text).substr(start, end - start);
        start = end + 1;
        const std::size_t comma = item.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        int32_t span = 0;
        auto [at, ec] = std::from_chars(item.data(), item.data() + comma, span);
        if (ec != std::errc() || at != item.data() + comma || span < 1) return std::nullopt;
        const std::optional<HistoryRow> row = ParseCsvRow(item.substr(comma + 1), span);
        if (!row) return std::nullopt;
        rows.push_back(*row);
    }
    return rows;
}

}  // namespace kestrelon
