// SPDX-License-Identifier: GPL-3.0-or-later
// The panel link: request frames, reply text at its positions, the EEPROM wait and its bound,
// and the guard that keeps exchanges from interleaving.
#include "device/panel_link.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/fakes.h"

namespace kestrelon {

using test::HandlerWaiter;
using test::reply;
using test::ScriptedTransport;

namespace {

struct LinkFixture : ::testing::Test {
    VirtualTime time;
    HandlerWaiter waiter{time};
    ScriptedTransport transport;
    MonitorState state;
    PanelLink link{transport, waiter, state};
};

// A device whose EEPROM answers busy `busyReads` times, then idle.
std::function<std::vector<uint8_t>(uint8_t)> busyFor(int busyReads) {
    auto left = std::make_shared<int>(busyReads);
    return [left](uint8_t reg) {
        uint8_t flag = (reg == 0x1C && (*left)-- > 0) ? 1 : 0;
        return reply(reg, {0, 0, flag, 0, 0, 0});
    };
}

using PanelLinkTest = LinkFixture;

TEST_F(PanelLinkTest, ReadExchangeSendsTheFrameWaitsAndReadsTheReply) {
    transport.replies.push_back(reply(0x14, {0x2D, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}));
    std::vector<uint8_t> got = link.readRegister(0x14, 10);

    ASSERT_EQ(transport.written.size(), 1u);
    // 0x14 ^ 0x3C = 0x28; the output length (9) is sent, byte 9 never.
    EXPECT_EQ(transport.written[0], (std::vector<uint8_t>{0x00, 0x14, 0, 0, 0, 0, 0, 0, 0x28}));
    EXPECT_EQ(waiter.waits, (std::vector<int>{10}));
    EXPECT_EQ(transport.read_sizes, (std::vector<std::size_t>{9}));
    // L + 1 bytes; index L is never filled by the read and stays 0.
    EXPECT_EQ(got,
              (std::vector<uint8_t>{0x00, 0x14, 0x2D, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(state.panel.lastReply, "14,2D,00,FF,00,00,00,00,00,");
    EXPECT_EQ(link.outReport()[9], 0);
    EXPECT_FALSE(link.busy());
}

TEST_F(PanelLinkTest, WithASettleClockTheNextExchangeKeepsAWritesSettleTime) {
    struct Case {
        const char* name;
        bool fetchReply;  // the clock set: its reply is read after the wait
        int gapMs;        // between the write's return and the next read
        std::vector<int> waits;
    };
    const Case cases[] = {
        {"read at once", false, 0, {50, 10}},         {"read 20 ms later", false, 20, {30, 10}},
        {"read 50 ms later", false, 50, {10}},        {"read a second later", false, 1000, {10}},
        {"write with a reply", true, 1000, {50, 10}},
    };
    constexpr std::array<uint8_t, 6> kParams{1, 2, 3, 4, 5, 6};
    for (const Case& c : cases) {
        HandlerWaiter waits{time};
        PanelLink settling{transport, waits, state, &time};
        transport.written.clear();
        ASSERT_EQ(settling.writeRegister(0x29, kParams, 50, c.fetchReply), WriteOutcome::Written)
            << c.name;
        EXPECT_FALSE(settling.busy()) << c.name;
        time.advance(c.gapMs / 1000.0);
        settling.readRegister(0x14, 10);
        EXPECT_EQ(waits.waits, c.waits) << c.name;
        EXPECT_EQ(transport.written.size(), 2u) << c.name;
    }
    // Without a settle clock every write waits at once.
    link.writeRegister(0x29, kParams, 50);
    EXPECT_EQ(waiter.waits, (std::vector<int>{50}));
}

TEST_F(PanelLinkTest, ReplyTextFollowsTheInputLength) {
    transport.lengths = {5, 9, 9};
    transport.replies.push_back(reply(0x18, {0x34, 0x12, 0x99, 0x88}));
    link.readRegister(0x18, 10);
    // Only 5 bytes are read (indices 0..4): bytes 1..5 in the text, the last one 0.
    EXPECT_EQ(state.panel.lastReply, "18,34,12,99,00,");

    transport.lengths = {12, 9, 9};
    transport.replies.push_back(reply(0x18, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    link.readRegister(0x18, 10);
    EXPECT_EQ(state.panel.lastReply, "18,01,02,03,04,05,06,07,08,09,0A,00,");
}

TEST_F(PanelLinkTest, FailedReadGivesAnAllZeroReply) {
    transport.fail_reads = true;
    std::vector<uint8_t> got = link.readRegister(0x1D, 10);
    EXPECT_EQ(got, std::vector<uint8_t>(10, 0));
    EXPECT_EQ(state.panel.lastReply, "00,00,00,00,00,00,00,00,00,");
}

TEST_F(PanelLinkTest, OutputLengthDecidesWhatIsWritten) {
    transport.lengths = {9, 0, 9};
    link.readRegister(0x14, 10);
    EXPECT_TRUE(transport.written.empty()) << "a panel without output reports gets nothing";

    transport.lengths = {9, 64, 9};
    link.readRegister(0x14, 10);
    ASSERT_EQ(transport.written.size(), 1u);
    EXPECT_EQ(transport.written[0].size(), kOutReportSize) << "never past the buffer";
}

TEST_F(PanelLinkTest, EepromBusyBusyIdleTakesThreeReads) {
    transport.answer = busyFor(2);
    EXPECT_TRUE(link.WaitEepromIdle());
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x1C, 0x1C, 0x1C}));
    EXPECT_EQ(waiter.waits, (std::vector<int>{50, 50, 50}));
    EXPECT_FALSE(state.panel.eepromBusy);
}

TEST_F(PanelLinkTest, EepromWaitAlwaysReadsTwiceEvenWhenIdleAtOnce) {
    transport.answer = busyFor(0);
    EXPECT_TRUE(link.WaitEepromIdle());
    EXPECT_EQ(transport.written.size(), 2u);

    // A busy first answer followed by idle also ends after two reads.
    transport.written.clear();
    transport.answer = busyFor(1);
    EXPECT_TRUE(link.WaitEepromIdle());
    EXPECT_EQ(transport.written.size(), 2u);
}

TEST_F(PanelLinkTest, EepromWaitGivesUpAfterAboutTwoSeconds) {
    transport.answer = busyFor(1000);
    EXPECT_FALSE(link.WaitEepromIdle());
    EXPECT_EQ(transport.written.size(), static_cast<std::size_t>(PanelLink::kMaxEepromReads));
    EXPECT_NEAR(time.totalWaitSeconds(), 2.0, 1e-9);
    EXPECT_TRUE(state.panel.eepromBusy);
    EXPECT_FALSE(link.busy());

    // One busy answer fewer than the bound still ends in time.
    transport.written.clear();
    transport.answer = busyFor(PanelLink::kMaxEepromReads - 1);
    EXPECT_TRUE(link.WaitEepromIdle());
}

TEST_F(PanelLinkTest, BusyForTheWholeExchangeAndASecondOneIsRefused) {
    transport.replies.push_back(reply(0x14, {0x2D, 0x00, 0x1E, 0x00}));
    std::vector<bool> busyInWait;
    std::vector<uint8_t> nested = {0xAA};
    waiter.during = [&](int) {
        busyInWait.push_back(link.busy());
        // A handler that runs inside the wait (a click, a second poll) asks for its own read.
        nested = link.readRegister(0x19, 10);
        std::array<uint8_t, 6> params{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(link.writeRegister(0x2B, params, 10), WriteOutcome::Busy);
        PanelLink::Scope scope(link);
        EXPECT_FALSE(scope) << "a sequence cannot start inside another exchange's wait";
    };
    testing::internal::CaptureStderr();
    std::vector<uint8_t> got = link.readRegister(0x14, 10);
    std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(busyInWait, (std::vector<bool>{true}));
    EXPECT_TRUE(nested.empty());
    // The first exchange is untouched: its frame, its reply and only its frame on the wire.
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x14}));
    EXPECT_EQ(link.outReport()[1], 0x14);
    EXPECT_EQ(got[2], 0x2D);
    EXPECT_EQ(state.panel.lastReply.substr(0, 12), "14,2D,00,1E,");
    EXPECT_NE(log.find("kestrelon: "), std::string::npos);
    EXPECT_NE(log.find("REG19 read refused"), std::string::npos);
    EXPECT_NE(log.find("REG2B write refused"), std::string::npos);
    EXPECT_FALSE(link.busy());
}

TEST_F(PanelLinkTest, ScopeKeepsTheLinkBusyBetweenItsExchanges) {
    {
        PanelLink::Scope scope(link);
        ASSERT_TRUE(scope);
        EXPECT_TRUE(link.busy());
        PanelLink::Scope inner(link);  // nested sequences of the same caller are allowed
        EXPECT_TRUE(inner);
        EXPECT_FALSE(link.readRegister(0x14, 10).empty());

        std::vector<uint8_t> nested = {0xAA};
        waiter.during = [&](int) { nested = link.readRegister(0x15, 10); };
        testing::internal::CaptureStderr();
        link.Delay(100);  // a wait between the sequence's exchanges
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(nested.empty());
        EXPECT_TRUE(link.busy());
    }
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(transport.registers(), (std::vector<uint8_t>{0x14}));
}

}  // namespace

}  // namespace kestrelon
