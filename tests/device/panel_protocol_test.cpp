// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol over a scripted panel: which register each read and push uses, what it stores,
// the EEPROM guard, the full push's order and waits, and the writes it skips.
#include "device/panel_protocol.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/fakes.h"

namespace kestrelon {

using test::HandlerWaiter;
using test::reply;
using test::ScriptedTransport;

namespace {

struct ProtocolTest : ::testing::Test {
    VirtualTime time;
    HandlerWaiter waiter{time};
    ScriptedTransport transport;
    MonitorState state;
    PanelLink link{transport, waiter, state};
    PanelProtocol protocol{link, state};

    ProtocolTest() {
        // An idle panel: EEPROM reads answer 0 in byte 4.
        transport.answer = [](uint8_t reg) { return reply(reg, {0, 0, 0, 0, 0, 0}); };
    }

    // The frames written that are not EEPROM busy reads.
    std::vector<std::vector<uint8_t>> writes() const {
        std::vector<std::vector<uint8_t>> frames;
        for (const auto& f : transport.written)
            if (f[1] != 0x1C) frames.push_back(f);
        return frames;
    }
};

TEST_F(ProtocolTest, ReadFamiliesUseTheirRegistersAndStoreThePair) {
    transport.replies = {
        reply(0x14, {0xFF, 0x00, 0x1E, 0x00}), reply(0x15, {0x2D, 0x00, 0xFF, 0x00}),
        reply(0x18, {0x34, 0x12, 0x10, 0x00}), reply(0x19, {0xFF, 0x00, 0x00, 0x00}),
        reply(0x1D, {0x29, 0x09, 0x63, 0x00}), reply(0x1E, {0x87, 0x13, 0x64, 0x00}),
    };
    protocol.ReadTemps(ChannelPair::First);
    protocol.ReadTemps(ChannelPair::Second);
    protocol.ReadFans(ChannelPair::First);
    protocol.ReadFans(ChannelPair::Second);
    protocol.ReadFanLimits(ChannelPair::First);
    protocol.ReadFanLimits(ChannelPair::Second);

    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x14, 0x15, 0x18, 0x19, 0x1D, 0x1E}));
    EXPECT_EQ(waiter.waits, std::vector<int>(6, 10));
    EXPECT_EQ(state.readings.temperature, (PerChannel<Reading>{{std::nullopt, 30, 45, std::nullopt}}));
    EXPECT_EQ(state.readings.fanSpeed, (PerChannel<Reading>{{0x1234, 16, 255, 0}}));
    EXPECT_EQ(state.readings.fanLimit, (PerChannel<int32_t>{{2300, 0, 4900, 100}}));
    // Displayed values are the poll cycle's business.
    EXPECT_EQ(state.readings.shownTemperature, PerChannel<int32_t>{});
    // The last reply stays in input_data with its words at positions 4-5/7-8 and 10-11/13-14.
    EXPECT_EQ(state.panel.lastReply.substr(0, 15), "1E,87,13,64,00,");
}

TEST_F(ProtocolTest, AFailedReadLeavesReadingsMissingAndOtherValuesZero) {
    state.readings.temperature[Channel::Cpu] = 40, state.readings.fanSpeed[Channel::Hdd] = 1200,
    state.readings.fanLimit[Channel::Vga] = 2400;
    state.readings.temperature[Channel::Vga] = 41;  // not read here: kept
    transport.fail_reads = true;
    protocol.ReadTemps(ChannelPair::First);
    protocol.ReadFans(ChannelPair::First);
    protocol.ReadFanLimits(ChannelPair::Second);
    EXPECT_EQ(state.readings.temperature, (PerChannel<Reading>{{std::nullopt, std::nullopt, 41}}));
    EXPECT_EQ(state.readings.fanSpeed[Channel::Hdd], std::nullopt);
    EXPECT_EQ(state.readings.fanLimit[Channel::Vga], 0);
    EXPECT_EQ(state.panel.lastReply.substr(0, 6), "00,00,");

    transport.fail_reads = false;  // the next good read brings them back
    transport.replies = {reply(0x14, {0x2D, 0x00, 0xFF, 0x00})};
    protocol.ReadTemps(ChannelPair::First);
    EXPECT_EQ(state.readings.temperature[Channel::Cpu], 45);
    EXPECT_EQ(state.readings.temperature[Channel::Hdd], std::nullopt) << "255 is no sensor";
}

TEST_F(ProtocolTest, EachPushIsGuardedFramedAndSettles) {
    state.settings.limitCelsius[Channel::Cpu] = 60, state.settings.limitCelsius[Channel::Hdd] = 55,
    state.settings.limitCelsius[Channel::Vga] = 50, state.settings.limitCelsius[Channel::Case] = 45;
    state.settings.manualFanSpeed[Channel::Cpu] = 2000,
    state.settings.manualFanSpeed[Channel::Hdd] = 0;
    state.settings.alarm.text = "07:30";
    protocol.PushTempLimits();
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x1C, 0x1C, 0x20}));
    EXPECT_EQ(transport.written.back(),
              (std::vector<uint8_t>{0x00, 0x20, 0x3C, 0x37, 0x32, 0x2D, 0x00, 0x00, 0xCE}));
    EXPECT_EQ(waiter.waits, (std::vector<int>{50, 50, 50}));

    transport.written.clear();
    waiter.waits.clear();
    protocol.PushManualFanSpeeds(ChannelPair::First);
    protocol.PushAlarmTime();
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x1C, 0x1C, 0x2B, 0x1C, 0x1C, 0x2A}));
    EXPECT_EQ(waiter.waits, (std::vector<int>{50, 50, 10, 50, 50, 10}));
    auto frames = writes();
    EXPECT_EQ(frames[0], (std::vector<uint8_t>{0x00, 0x2B, 0xD0, 0x07, 0x00, 0x00, 0x00, 0x00,
                                               static_cast<uint8_t>((0x2B + 0xD0 + 0x07) ^ 0x3C)}));
    EXPECT_EQ(frames[1], (std::vector<uint8_t>{0x00, 0x2A, 0x00, 0x00, 0x00, 0x07, 0x30, 0x00,
                                               static_cast<uint8_t>((0x2A + 0x07 + 0x30) ^ 0x3C)}));
}

TEST_F(ProtocolTest, StatusPushCarriesSaveReg29AsItIsAtThatMoment) {
    state.settings.fanMode = FanMode::Manual, state.panel.alarmEnabled = true,
        state.settings.unit = TemperatureUnit::Celsius;
    state.panel.volumeLevel = 14, state.panel.lcdSensor = 2,
    state.settings.backlight = Backlight::Purple;
    state.panel.saveToEeprom = true;
    protocol.PushStatusRegister();
    state.panel.saveToEeprom = false;
    protocol.PushStatusRegister();
    auto frames = writes();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0],
              (std::vector<uint8_t>{0x00, 0x29, 0x07, 0x00, 0x0E, 0x12, 0x03, 0x00, 0x6F}));
    EXPECT_EQ(frames[1][2], 0x03);
}

TEST_F(ProtocolTest, ClockSetSkipsTheEepromWaitAndReadsAReply) {
    state.poll.shownMinute = "23:59";
    transport.answer = nullptr;
    transport.replies.push_back(reply(0x28, {0x55}));
    protocol.SyncClock();
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x28}));
    EXPECT_EQ(transport.written[0],
              (std::vector<uint8_t>{0x00, 0x28, 0, 0, 0, 0x23, 0x59, 0,
                                    static_cast<uint8_t>((0x28 + 0x23 + 0x59) ^ 0x3C)}));
    EXPECT_EQ(waiter.waits, (std::vector<int>{50}));
    EXPECT_EQ(state.panel.lastReply.substr(0, 6), "28,55,");
}

TEST_F(ProtocolTest, FullPushOrderAndWaits) {
    state.settings.fanSetPoint[Channel::Cpu] = 1500,
    state.settings.fanSetPoint[Channel::Vga] = 1600;
    state.poll.shownMinute = "09:05";
    protocol.PushAllSettings();

    std::vector<uint8_t> order;
    for (const auto& frame : writes()) order.push_back(frame[1]);
    EXPECT_EQ(order, (std::vector<uint8_t>{0x29, 0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x28}));
    // Seven guarded writes with two busy reads each; the clock set has none.
    EXPECT_EQ(transport.written.size(), 8u + 14u);
    // 14 busy reads x 50, settle 5 x 50 + 2 x 10, clock 50, 8 gaps x 100 = 1.82 s.
    EXPECT_NEAR(time.totalWaitSeconds(), 1.82, 1e-9);
    EXPECT_EQ(writes()[3][2], 0xDC);
    EXPECT_EQ(writes()[7][5], 0x09);
    EXPECT_FALSE(link.busy());
}

TEST_F(ProtocolTest, FullPushHoldsTheLinkThroughEveryWait) {
    int waitsSeen = 0, busySeen = 0;
    waiter.during = [&](int) {
        ++waitsSeen;
        if (link.busy()) ++busySeen;
        protocol.ReadTemps(ChannelPair::First);  // a poll tick that comes due meanwhile
    };
    testing::internal::CaptureStderr();
    protocol.PushAllSettings();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(waitsSeen, 8 + 14 + 8);
    EXPECT_EQ(busySeen, waitsSeen);
    for (const auto& frame : transport.written) EXPECT_NE(frame[1], 0x14);
    EXPECT_NE(log.find("kestrelon: panel busy with another exchange; REG14 read refused"),
              std::string::npos);

    // A second full push requested meanwhile is refused as a whole.
    transport.written.clear();
    waiter.during = [&](int) { protocol.PushAllSettings(); };
    testing::internal::CaptureStderr();
    protocol.PushStatusRegister();
    log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x1C, 0x1C, 0x29}));
    EXPECT_NE(log.find("settings push refused"), std::string::npos);
}

TEST_F(ProtocolTest, StuckEepromSkipsTheWriteWithOneLogLine) {
    transport.answer = [](uint8_t reg) { return reply(reg, {0, 0, 1, 0, 0, 0}); };
    state.settings.limitCelsius[Channel::Cpu] = 61;
    testing::internal::CaptureStderr();
    protocol.PushTempLimits();
    std::string log = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(transport.written.size(), static_cast<std::size_t>(PanelLink::kMaxEepromReads));
    EXPECT_NEAR(time.totalWaitSeconds(), 2.0, 1e-9);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    EXPECT_EQ(log.rfind("kestrelon: REG20 not written", 0), 0u) << log;
    EXPECT_EQ(state.settings.limitCelsius[Channel::Cpu], 61);

    // The clock set does not wait for the EEPROM and still goes out.
    protocol.SyncClock();
    EXPECT_EQ(writes().size(), 1u);
}

// Every push says what became of it, and the full push names each register it could not write.
TEST_F(ProtocolTest, PushesReportWrittenBusyOrFailed) {
    const struct {
        const char* name;
        bool failWrites, duringAnotherExchange;
        WriteOutcome outcome;
    } cases[] = {
        {"written", false, false, WriteOutcome::Written},
        {"failed", true, false, WriteOutcome::Failed},
        {"busy", false, true, WriteOutcome::Busy},
    };
    for (const auto& c : cases) {
        transport.fail_writes = c.failWrites;
        std::optional<WriteOutcome> got;
        if (c.duringAnotherExchange) {
            waiter.during = [&](int) {
                if (!got) got = protocol.PushStatusRegister();
            };
            protocol.ReadTemps(ChannelPair::First);
            waiter.during = nullptr;
        } else {
            got = protocol.PushStatusRegister();
        }
        ASSERT_TRUE(got) << c.name;
        EXPECT_EQ(*got, c.outcome) << c.name;
    }
    transport.fail_writes = true;
    const PushReport all = protocol.PushAllSettings();
    EXPECT_EQ(all.written, 0);
    ASSERT_EQ(all.notWritten.size(), 8u);
    EXPECT_EQ(all.notWritten.front(), std::make_pair(uint8_t{0x29}, WriteOutcome::Failed));
    EXPECT_EQ(all.text().find('\n'), std::string::npos);
    transport.fail_writes = false;
    EXPECT_TRUE(protocol.PushAllSettings().ok());
}

}  // namespace

}  // namespace kestrelon
