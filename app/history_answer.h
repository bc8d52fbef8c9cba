// SPDX-License-Identifier: GPL-3.0-or-later
// The running program's answer to a "history SECONDS" request, on one line: each row its span
// in seconds, a comma and its day-file line, rows parted by ';'.
#pragma once

#include <optional>
#include <string>

#include "history/history_row.h"

namespace kestrelon {

std::string HistoryAnswer(const HistoryRows& rows);
// Nothing when any part does not read.
std::optional<HistoryRows> ParseHistoryAnswer(const std::string& text);

}  // namespace kestrelon
