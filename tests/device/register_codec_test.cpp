// SPDX-License-Identifier: GPL-3.0-or-later
// Register writes as bytes (limits, words, status bits, BCD times, clamping) and the decoding of
// read replies (no-sensor rule, limit rounding, busy flag).
#include "device/register_codec.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/register_map.h"

namespace kestrelon {

namespace {

RequestParams encode(RegisterFamily family, const MonitorState& s,
                     ChannelPair pair = ChannelPair::First) {
    return encodeRequest(registerRow(family, pair), s);
}

std::vector<uint8_t> replyWith(uint8_t reg, std::vector<uint8_t> data) {
    std::vector<uint8_t> bytes(std::max<std::size_t>(10, data.size() + 2), 0);
    bytes[1] = reg;
    std::copy(data.begin(), data.end(), bytes.begin() + 2);
    return bytes;
}

}  // namespace

TEST(RegisterEncoding, WordsLowByteFirstForEachPair) {
    MonitorState s;
    s.settings.fanSetPoint[Channel::Cpu] = 1500, s.settings.fanSetPoint[Channel::Hdd] = 0x1234,
    s.settings.fanSetPoint[Channel::Vga] = 3000, s.settings.fanSetPoint[Channel::Case] = 256;
    s.settings.manualFanSpeed[Channel::Cpu] = 2000, s.settings.manualFanSpeed[Channel::Hdd] = 0,
    s.settings.manualFanSpeed[Channel::Vga] = 65535, s.settings.manualFanSpeed[Channel::Case] = 1;
    EXPECT_EQ(encode(RegisterFamily::FanSetpoints, s),
              (RequestParams{0xDC, 0x05, 0x34, 0x12, 0, 0}));
    EXPECT_EQ(encode(RegisterFamily::FanSetpoints, s, ChannelPair::Second),
              (RequestParams{0xB8, 0x0B, 0x00, 0x01, 0, 0}));
    EXPECT_EQ(encode(RegisterFamily::ManualFanSpeeds, s),
              (RequestParams{0xD0, 0x07, 0x00, 0x00, 0, 0}));
    EXPECT_EQ(encode(RegisterFamily::ManualFanSpeeds, s, ChannelPair::Second),
              (RequestParams{0xFF, 0xFF, 0x01, 0x00, 0, 0}));
}

TEST(RegisterEncoding, OutOfRangeValuesAreClampedWhenTheFrameIsBuilt) {
    MonitorState s;
    s.settings.limitCelsius[Channel::Cpu] = -5, s.settings.limitCelsius[Channel::Hdd] = 256,
    s.settings.limitCelsius[Channel::Vga] = 1000, s.settings.limitCelsius[Channel::Case] = 255;
    s.settings.manualFanSpeed[Channel::Cpu] = 70000, s.settings.manualFanSpeed[Channel::Hdd] = -1;
    s.panel.volumeLevel = 300;
    s.panel.lcdSensor = -2;
    s.settings.backlight = static_cast<Backlight>(999);
    EXPECT_EQ(encode(RegisterFamily::TempLimits, s), (RequestParams{0, 255, 255, 255, 0, 0}));
    EXPECT_EQ(encode(RegisterFamily::ManualFanSpeeds, s),
              (RequestParams{0xFF, 0xFF, 0x00, 0x00, 0, 0}));
    RequestParams status = encode(RegisterFamily::Status, s);
    EXPECT_EQ(status[2], 255);
    EXPECT_EQ(status[3], 0x10);
    EXPECT_EQ(status[4], 255);
    // The state keeps what it had.
    EXPECT_EQ(s.settings.limitCelsius[Channel::Cpu], -5);
    EXPECT_EQ(s.settings.manualFanSpeed[Channel::Cpu], 70000);
}

TEST(RegisterEncoding, StatusRegisterBitsClearedTheOtherWay) {
    // The set bits are checked on the wire by the protocol tests; here every bit the other way.
    MonitorState s;
    s.settings.fanMode = FanMode::Automatic, s.panel.alarmEnabled = false,
    s.panel.saveToEeprom = false, s.settings.unit = TemperatureUnit::Fahrenheit;
    EXPECT_EQ(encode(RegisterFamily::Status, s), (RequestParams{0x00, 0x01, 0x00, 0x10, 0x00, 0}));
}

TEST(RegisterEncoding, ClockAndAlarmTimesAsPackedBcd) {
    MonitorState s;
    s.poll.shownMinute = "09:05";
    s.settings.alarm.text = "07:30";
    EXPECT_EQ(encode(RegisterFamily::Clock, s), (RequestParams{0, 0, 0, 0x09, 0x05, 0}));
    EXPECT_EQ(encode(RegisterFamily::AlarmTime, s), (RequestParams{0, 0, 0, 0x07, 0x30, 0}));
    s.poll.shownMinute = "23:59";
    EXPECT_EQ(encode(RegisterFamily::Clock, s), (RequestParams{0, 0, 0, 0x23, 0x59, 0}));
    s.poll.shownMinute = "00:00";
    EXPECT_EQ(encode(RegisterFamily::Clock, s), (RequestParams{0, 0, 0, 0, 0, 0}));
    // The date bytes come from characters 7-8, 1-2 and 4-5 of time_date when it has any.
    s.panel.dateText = "12-31-24";
    EXPECT_EQ(encode(RegisterFamily::Clock, s), (RequestParams{0x24, 0x12, 0x31, 0, 0, 0}));
}

TEST(RegisterEncoding, BcdCountsNonDigitsAndMissingCharactersAsZero) {
    EXPECT_EQ(packedBcd("59", 1), 0x59);
    EXPECT_EQ(packedBcd("a7", 1), 0x07);
    EXPECT_EQ(packedBcd("7", 1), 0x70);
    EXPECT_EQ(packedBcd("", 1), 0x00);
    EXPECT_EQ(packedBcd("12:3x", 4), 0x30);
}

TEST(RegisterDecoding, TemperaturesTreatExactly255AsNoSensor) {
    MonitorState s;
    const RegisterRow& first = registerRow(RegisterFamily::Temps, ChannelPair::First);
    decodeReply(first, replyWith(0x14, {0x2D, 0x00, 0xFF, 0x00}), s);
    EXPECT_EQ(s.readings.temperature[Channel::Cpu], 45);
    EXPECT_EQ(s.readings.temperature[Channel::Hdd], std::nullopt);
    decodeReply(first, replyWith(0x14, {0xFF, 0x00, 0x00, 0x00}), s);
    EXPECT_EQ(s.readings.temperature[Channel::Cpu], std::nullopt);
    EXPECT_EQ(s.readings.temperature[Channel::Hdd], 0) << "0 is a reading, not a missing one";
    decodeReply(first, replyWith(0x14, {0xFF, 0x01, 0x00, 0x00}), s);
    EXPECT_EQ(s.readings.temperature[Channel::Cpu], 511);
    decodeReply(registerRow(RegisterFamily::Temps, ChannelPair::Second),
                replyWith(0x15, {0x28, 0x00, 0x21, 0x00}), s);
    EXPECT_EQ(s.readings.temperature[Channel::Vga], 40);
    EXPECT_EQ(s.readings.temperature[Channel::Case], 33);
}

TEST(RegisterDecoding, FanSpeedsAreKeptAsRead) {
    MonitorState s;
    decodeReply(registerRow(RegisterFamily::Fans, ChannelPair::First),
                replyWith(0x18, {0x34, 0x12, 0xFF, 0xFF}), s);
    EXPECT_EQ(s.readings.fanSpeed[Channel::Cpu], 0x1234);
    EXPECT_EQ(s.readings.fanSpeed[Channel::Hdd], 65535);
    decodeReply(registerRow(RegisterFamily::Fans, ChannelPair::Second),
                replyWith(0x19, {0xFF, 0x00, 0x00, 0x00}), s);
    EXPECT_EQ(s.readings.fanSpeed[Channel::Vga], 255)
        << "the no-sensor rule is for temperatures only";
    EXPECT_EQ(s.readings.fanSpeed[Channel::Case], 0);
}

TEST(RegisterDecoding, FanLimitsRoundDownToHundreds) {
    MonitorState s;
    const RegisterRow& first = registerRow(RegisterFamily::FanLimits, ChannelPair::First);
    decodeReply(first, replyWith(0x1D, {0x29, 0x09, 99, 0}), s);
    EXPECT_EQ(s.readings.fanLimit[Channel::Cpu], 2300);
    EXPECT_EQ(s.readings.fanLimit[Channel::Hdd], 0);
    decodeReply(first, replyWith(0x1D, {100, 0, 0x87, 0x13}), s);  // 100, 4999
    EXPECT_EQ(s.readings.fanLimit[Channel::Cpu], 100);
    EXPECT_EQ(s.readings.fanLimit[Channel::Hdd], 4900);
    decodeReply(registerRow(RegisterFamily::FanLimits, ChannelPair::Second),
                replyWith(0x1E, {0x82, 0x09, 0xB8, 0x0B}), s);  // 2434, 3000
    EXPECT_EQ(s.readings.fanLimit[Channel::Vga], 2400);
    EXPECT_EQ(s.readings.fanLimit[Channel::Case], 3000);
}

TEST(RegisterDecoding, BusyFlagIsByteFourAndShortRepliesReadAsZero) {
    MonitorState s;
    const RegisterRow& busy = registerRow(RegisterFamily::EepromBusy);
    decodeReply(busy, replyWith(0x1C, {0x00, 0x00, 0x01}), s);
    EXPECT_TRUE(s.panel.eepromBusy);
    decodeReply(busy, replyWith(0x1C, {0xFF, 0xFF, 0x00, 0xFF}), s);
    EXPECT_FALSE(s.panel.eepromBusy);
    s.panel.eepromBusy = true;
    decodeReply(busy, std::vector<uint8_t>{0x00, 0x1C, 0x00}, s);
    EXPECT_FALSE(s.panel.eepromBusy);

    s.readings.temperature[Channel::Hdd] = 77;
    decodeReply(registerRow(RegisterFamily::Temps), std::vector<uint8_t>{0x00, 0x14, 0x1E}, s);
    EXPECT_EQ(s.readings.temperature[Channel::Cpu], 30);
    EXPECT_EQ(s.readings.temperature[Channel::Hdd], 0) << "a short reply reads as zeros";
}

}  // namespace kestrelon
