// SPDX-License-Identifier: GPL-3.0-or-later
// A history day file's text as arbitrary bytes: whatever it holds, the rows read are in time
// order and whole (each series all three values or none, lowest <= mean <= highest), and each
// writes back as a line that reads again and writes the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "history/history_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrelon;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CsvReadResult read = ReadCsvText(text, INT64_MIN, INT64_MAX);
    FUZZ_CHECK(read.skippedLines >= 0, "a count of skipped lines");
    FUZZ_CHECK((read.skippedLines == 0) == (read.firstSkippedLine == 0),
               "the first skipped line is named when a line was skipped");
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const HistoryRow& row = read.rows[i];
        if (i > 0) FUZZ_CHECK(row.utcSeconds > read.rows[i - 1].utcSeconds, "rows in time order");
        for (Channel ch : kAllChannels)
            for (const SeriesStats& s : {row.temperatureC[ch], row.fanRpm[ch]}) {
                FUZZ_CHECK(s.min.has_value() == s.mean.has_value() &&
                               s.mean.has_value() == s.max.has_value(),
                           "a series has all three values or none");
                if (s.mean) FUZZ_CHECK(*s.min <= *s.mean && *s.mean <= *s.max, "values in order");
            }
        const std::string line = FormatCsvRow(row);
        FUZZ_CHECK(line.find('\n') == std::string::npos, "a row is one line");
        const auto again = ParseCsvRow(line);
        FUZZ_CHECK(again.has_value(), "a row read writes back as a line that reads");
        FUZZ_CHECK(FormatCsvRow(*again) == line, "and writes the same again");
    }
    return 0;
}
