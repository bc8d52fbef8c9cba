// SPDX-License-Identifier: GPL-3.0-or-later
// The day files' text: a header line, then one line per row: the UTC time, for each channel
// (cpu, hdd, vga, case) the temperature's lowest, mean and highest in °C, the fan's in rpm and
// the limit in °C, and the fan mode. A missing value is an empty field, never 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/history_row.h"

namespace kestrelon {

inline constexpr int kCsvFieldsPerChannel = 7;
inline constexpr int kCsvFields = 1 + kChannels * kCsvFieldsPerChannel + 1;

// "time,cpu_temp_min_c,...,fan_mode", without the newline.
const std::string& CsvHeader();
// A value as the files write it: rounded to hundredths, without trailing zeros ("41.25", "40").
std::string FormatHistoryValue(double value);
// One row without the newline; values rounded to hundredths.
std::string FormatCsvRow(const HistoryRow& row);
// One line (without its newline) back as a row of `spanSeconds`; nothing for the header, a torn
// or garbage line: a wrong number of fields, a bad time, number or mode, a series with only some
// of its three values or with them out of order.
std::optional<HistoryRow> ParseCsvRow(std::string_view line, int32_t spanSeconds = 60);

struct CsvReadResult {
    HistoryRows rows;          // in time order
    int skippedLines = 0;      // unreadable, or not after the row before
    int firstSkippedLine = 0;  // its line number, from 1
};
// The rows of a whole file's text whose time lies in [fromUtc, toUtc]. Header lines are passed
// over; a line that does not read, or is not later than the row before it, is skipped and
// counted, and the rest read on.
CsvReadResult ReadCsvText(std::string_view text, int64_t fromUtc, int64_t toUtc,
                          int32_t spanSeconds = 60);

}  // namespace kestrelon
