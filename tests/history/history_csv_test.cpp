// SPDX-License-Identifier: GPL-3.0-or-later
// The day files' lines: times and rows written and read back, and every kind of torn or garbage
// line refused, with the rest of a file still read.
#include "history/history_csv.h"

#include <gtest/gtest.h>

#include "history/utc_time.h"

namespace kestrelon {
namespace {

TEST(UtcTime, TimesAndDayNamesReadBackAndOnlyRealOnesAreRead) {
    const struct {
        int64_t utc;
        std::string iso;
    } good[] = {
        {0, "1970-01-01T00:00:00Z"},
        {951782400, "2000-02-29T00:00:00Z"},  // a leap day of a century divisible by 400
        {1709251199, "2024-02-29T23:59:59Z"},
        {1798761540, "2026-12-31T23:59:00Z"},
        {-1, "1969-12-31T23:59:59Z"},
    };
    for (const auto& g : good) {
        EXPECT_EQ(isoUtc(g.utc), g.iso);
        EXPECT_EQ(parseIsoUtc(g.iso), g.utc) << g.iso;
        EXPECT_EQ(parseDayName(dayName(g.utc)), dayStart(g.utc)) << g.iso;
    }
    for (const char* bad :
         {"2026-02-29T00:00:00Z", "1900-02-29T00:00:00Z", "2026-13-01T00:00:00Z",
          "2026-01-01T24:00:00Z", "2026-01-01T00:60:00Z", "2026-01-01 00:00:00Z",
          "2026-01-01T00:00:00", "2026-1-01T00:00:00Z", "+026-01-01T00:00:00Z", ""})
        EXPECT_FALSE(parseIsoUtc(bad)) << bad;
    EXPECT_FALSE(parseDayName("2026-04-31"));
    EXPECT_FALSE(parseDayName("2026-04-3x"));
}

HistoryRow fullRow() {
    HistoryRow row;
    row.utcSeconds = 1798761540;
    row.spanSeconds = 60;
    row.temperatureC[Channel::Cpu] = {40, 41.25, 43};
    row.temperatureC[Channel::Vga] = {-5.5, -0.75, 0};
    row.fanRpm[Channel::Cpu] = {1200, 1234.5, 1300};
    row.fanRpm[Channel::Case] = {0, 0, 0};  // a stopped fan is 0, not missing
    row.limitC.values = {70, 45, 80, 40};
    row.fanMode = FanMode::Automatic;
    return row;
}

TEST(HistoryCsv, RowsReadBackAsWrittenWithMissingValuesEmpty) {
    HistoryRow empty;  // every series missing
    empty.utcSeconds = 60;
    empty.spanSeconds = 60;
    for (const HistoryRow& row : {fullRow(), empty}) {
        const std::string line = FormatCsvRow(row);
        EXPECT_EQ(ParseCsvRow(line), row) << line;
    }
    const std::string line = FormatCsvRow(fullRow());
    EXPECT_EQ(line,
              "2026-12-31T23:59:00Z,40,41.25,43,1200,1234.5,1300,70,,,,,,,45,-5.5,-0.75,0,,,,80,"
              ",,,0,0,0,40,auto");
    EXPECT_EQ(std::count(CsvHeader().begin(), CsvHeader().end(), ',') + 1, kCsvFields);
    EXPECT_EQ(CsvHeader().substr(0, 40), "time,cpu_temp_min_c,cpu_temp_mean_c,cpu_");
    EXPECT_FALSE(ParseCsvRow(CsvHeader()));
    // A mean that does not fall on a hundredth is rounded, and stays between lowest and highest.
    HistoryRow third = empty;
    third.temperatureC[Channel::Hdd] = {35, 35 + 1.0 / 3, 36};
    const auto back = ParseCsvRow(FormatCsvRow(third));
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(*back->temperatureC[Channel::Hdd].mean, 35.33);
}

TEST(HistoryCsv, TornAndGarbageLinesAreRefused) {
    const std::string good = FormatCsvRow(fullRow());
    // A write cut anywhere short of the whole line leaves a line that does not read.
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(ParseCsvRow(good.substr(0, cut))) << good.substr(0, cut);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        return s.replace(s.find(from), from.size(), to);
    };
    for (const std::string& bad : {
             good + ",",                              // a field too many
             good + "\r",                             // a carriage return in the mode
             replaced("41.25", ""),                   // a series with a value missing
             replaced("40,41.25,43", "44,41.25,43"),  // lowest above the mean
             replaced("1234.5", "nan"),
             replaced("1234.5", "1e999"),
             replaced("1234.5", "1e300"),  // would not write back
             replaced("1234.5", "12 34"),
             replaced(",70,", ",70.5,"),  // the limit is whole degrees
             replaced(",70,", ",,"),      // and always there
             replaced("auto", "AUTO"),
             replaced("2026-12-31T23:59:00Z", "2026-12-31T23:59:00"),
             std::string("\0\0\0", 3),
             std::string(kCsvFields - 1, ','),
         })
        EXPECT_FALSE(ParseCsvRow(bad)) << bad;
}

TEST(HistoryCsv, AFileWithBadLinesIsReadPastThemInTimeOrder) {
    HistoryRow a = fullRow(), b = fullRow(), c = fullRow();
    a.utcSeconds -= 120;
    b.utcSeconds -= 60;
    const std::string text = CsvHeader() + "\n" + FormatCsvRow(a) + "\n" +
                             FormatCsvRow(b).substr(0, 50) + "\n" +     // torn, then ended
                             "garbage\n" + FormatCsvRow(a) + "\n" +     // not after the row before
                             CsvHeader() + "\n" +                       // a second header: passed
                             FormatCsvRow(b) + "\n" + FormatCsvRow(c);  // no final newline
    const CsvReadResult all = ReadCsvText(text, INT64_MIN, INT64_MAX);
    EXPECT_EQ(all.rows, (HistoryRows{a, b, c}));
    EXPECT_EQ(all.skippedLines, 3);
    EXPECT_EQ(all.firstSkippedLine, 3);
    // A range takes the rows whose minute reaches into it.
    const CsvReadResult some = ReadCsvText(text, b.utcSeconds + 59, c.utcSeconds - 1);
    EXPECT_EQ(some.rows, (HistoryRows{b}));
}

}  // namespace
}  // namespace kestrelon
