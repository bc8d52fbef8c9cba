// SPDX-License-Identifier: GPL-3.0-or-later
// A reading as text, JSON and the status record: a missing reading is "-", null or "-", and a
// reading of 0 is 0, in every form; the status record reads back to the same readings.
#include "monitor/readings_text.h"

#include <gtest/gtest.h>

namespace kestrelon {
namespace {

TEST(ReadingsText, MissingReadingsAreNamedAsMissingAndZeroStaysZero) {
    MonitorState s;
    s.readings.temperature.values = {45, std::nullopt, 0, 52};
    s.readings.fanSpeed.values = {1450, std::nullopt, 0, 1900};
    s.readings.fanLimit.values = {2400, 2000, 0, 3000};

    EXPECT_EQ(ReadingText(s, "12:00:01"),
              "12:00:01  temp °C 45 - 0 52  fan 1450 - 0 1900  limit 2400 2000 0 3000");
    EXPECT_EQ(ReadingJson(s, "12:00:01"),
              "{\"time\": \"12:00:01\", \"unit\": \"C\", \"temperatures\": [45, null, 0, 52], "
              "\"fans\": [1450, null, 0, 1900], \"fan_limits\": [2400, 2000, 0, 3000]}");

    const std::string record = StatusRecord(s, "/dev/hidraw0");
    EXPECT_EQ(record, "/dev/hidraw0\tC\t45 - 0 52\t1450 - 0 1900\t2400 2000 0 3000");
    MonitorState read;
    read.readings.temperature.values = {1, 2, 3, 4};  // all overwritten
    std::string path;
    ASSERT_TRUE(ParseStatusRecord(record, read, path));
    EXPECT_EQ(read.readings, s.readings);

    MonitorState none;  // no panel has answered: every reading missing
    EXPECT_EQ(ReadingText(none, "00:00:00"), "00:00:00  temp °C - - - -  fan - - - -  limit 0 0 0 0");
}

}  // namespace
}  // namespace kestrelon
