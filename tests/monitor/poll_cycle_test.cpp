// SPDX-License-Identifier: GPL-3.0-or-later
// The poll cycle against a scripted panel in virtual time: what is read, sent and redrawn, and
// when the cycle must stay out of the way of another exchange.
#include "monitor/poll_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "tests/support/fakes.h"

namespace kestrelon {
namespace {

using test::HandlerWaiter;
using test::ScriptedTransport;
using test::words;

struct RecordingHooks final : PollHooks {
    std::vector<std::string> calls;
    void drawClockPanel() override { calls.push_back("clock"); }
    void drawTempReadout(Channel ch) override {
        calls.push_back("temp" + std::to_string(channelNumber(ch)));
    }
    void drawFanReadout(Channel ch) override {
        calls.push_back("fan" + std::to_string(channelNumber(ch)));
    }
    void refreshWindow() override { calls.push_back("refresh"); }
    void checkInternet() override { calls.push_back("internet"); }
    int count(const std::string& what) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), what));
    }
};

struct PollFixture : ::testing::Test {
    VirtualTime time{10 * 3600 + 15 * 60};  // 10:15:00
    HandlerWaiter waiter{time};
    MonitorState state;
    RecordingHooks hooks;
    ScriptedTransport panel;
    std::map<uint8_t, std::vector<uint8_t>> answers;
    PanelLink link{panel, waiter, state};
    PanelProtocol protocol{link, state};
    PollCycle cycle{state, time, hooks};

    void SetUp() override {
        answers[0x14] = words(0x14, 40, 35);
        answers[0x15] = words(0x15, 50, 255);
        answers[0x18] = words(0x18, 1200, 900);
        answers[0x19] = words(0x19, 1500, 0);
        answers[0x1D] = words(0x1D, 2450, 2000);
        answers[0x1E] = words(0x1E, 1600, 3099);
        answers[0x1C] = test::reply(0x1C, {0, 0, 0});  // EEPROM idle
        panel.answer = [this](uint8_t reg) { return answers[reg]; };
        state.panel.present = true;
        cycle.attachPanel(&link, &protocol);
    }
    // Runs one tick a second later than the previous one.
    void tick() {
        time.advance(1.0);
        ASSERT_TRUE(cycle.onPollTick());
    }
    std::vector<uint8_t> registersSince(std::size_t first) const {
        auto regs = panel.registers();
        return {regs.begin() + static_cast<long>(first), regs.end()};
    }
};

TEST_F(PollFixture, FirstTickSetsTheClockReadsEverythingAndResendsTheStatus) {
    tick();
    EXPECT_EQ(registersSince(0),
              (std::vector<uint8_t>{0x28, 0x14, 0x15, 0x18, 0x19, 0x1D, 0x1E, 0x1C, 0x1C, 0x29}));
    EXPECT_EQ(state.poll.shownMinute, "10:15");
    const auto& clockSet = panel.written.front();
    EXPECT_EQ(clockSet[5], 0x10);
    EXPECT_EQ(clockSet[6], 0x15);
    // Auto-scan is off until the first click: the status goes out with bit 2 clear, and the
    // flag is set again afterwards.
    EXPECT_EQ(panel.written.back()[2] & 0x04, 0);
    EXPECT_TRUE(state.panel.saveToEeprom);

    EXPECT_EQ(state.readings.shownTemperature[Channel::Cpu], 40);
    EXPECT_EQ(state.readings.shownTemperature[Channel::Case], 0);  // 255: no sensor
    EXPECT_EQ(state.readings.shownFanSpeed[Channel::Vga], 1500);
    EXPECT_EQ(state.readings.fanLimit[Channel::Cpu], 2400);
    EXPECT_EQ(state.readings.fanLimit[Channel::Case], 3000);
    // Three temperatures and three fans changed from 0; each redraw is shown at once.
    EXPECT_EQ(hooks.count("temp1") + hooks.count("temp2") + hooks.count("temp3"), 3);
    EXPECT_EQ(hooks.count("temp4"), 0);
    EXPECT_EQ(hooks.count("fan4"), 0);
    EXPECT_EQ(hooks.count("refresh"), 6);
    EXPECT_EQ(hooks.count("clock"), 1);
}

TEST_F(PollFixture, TheClockIsSetOncePerMinuteChange) {
    tick();
    std::size_t mark = panel.written.size();
    tick();  // 10:15:02, same minute
    auto regs = registersSince(mark);
    EXPECT_EQ(std::count(regs.begin(), regs.end(), 0x28), 0);

    time.setTimeOfDay(10 * 3600 + 16 * 60 - 1);  // the next tick lands on 10:16:00
    mark = panel.written.size();
    tick();
    regs = registersSince(mark);
    EXPECT_EQ(std::count(regs.begin(), regs.end(), 0x28), 1);
    EXPECT_EQ(regs.front(), 0x28);
    EXPECT_EQ(hooks.count("clock"), 2);
}

TEST_F(PollFixture, OnlyChangedReadingsAreRedrawn) {
    tick();
    hooks.calls.clear();
    tick();
    EXPECT_TRUE(hooks.calls.empty());  // nothing changed, nothing drawn

    for (int i = 0; i < 4; ++i) {
        answers[0x14] = words(0x14, i % 2 ? 40 : 41, 35);
        tick();
    }
    EXPECT_EQ(hooks.count("temp1"), 4);  // alternating value: every tick
    EXPECT_EQ(hooks.count("temp2"), 0);
}

TEST_F(PollFixture, WithScanningOnTheStatusIsNotResentAndTheInternetIsCheckedEvery180Ticks) {
    state.poll.lcdScanning = true;
    for (int i = 0; i < 179; ++i) tick();
    EXPECT_EQ(hooks.count("internet"), 0);
    auto regs = panel.registers();
    EXPECT_EQ(std::count(regs.begin(), regs.end(), 0x29), 0);
    tick();
    EXPECT_EQ(hooks.count("internet"), 1);
    EXPECT_EQ(state.poll.ticksSinceProbe, 0);
    for (int i = 0; i < 180; ++i) tick();
    EXPECT_EQ(hooks.count("internet"), 2);
}

TEST_F(PollFixture, ScanningSwitchedOnLateChecksAtTheNextTick) {
    for (int i = 0; i < 200; ++i) tick();
    EXPECT_EQ(hooks.count("internet"), 0);
    state.poll.lcdScanning = true;
    tick();
    EXPECT_EQ(hooks.count("internet"), 1);
}

TEST_F(PollFixture, TheTickCounterHoldsAtItsLimitAndTheCycleGoesOn) {
    state.poll.ticksSinceProbe = 32766;
    tick();
    tick();
    EXPECT_EQ(state.poll.ticksSinceProbe, 32767);
    std::size_t mark = panel.written.size();
    tick();
    EXPECT_FALSE(registersSince(mark).empty());
    state.poll.lcdScanning = true;
    tick();
    EXPECT_EQ(hooks.count("internet"), 1);
}

TEST_F(PollFixture, ATickDuringAnotherExchangeIsSkipped) {
    tick();
    // A tick comes due while a settings push waits for the panel: it must not start its reads
    // in the middle of the push.
    int nestedTicks = 0, nestedRan = 0;
    waiter.during = [&](int) {
        ++nestedTicks;
        nestedRan += cycle.onPollTick();
    };
    std::size_t mark = panel.written.size();
    protocol.PushTempLimits();
    waiter.during = nullptr;
    EXPECT_GT(nestedTicks, 0);
    EXPECT_EQ(nestedRan, 0);
    EXPECT_EQ(cycle.skippedTicks(), nestedTicks);
    EXPECT_EQ(registersSince(mark), (std::vector<uint8_t>{0x1C, 0x1C, 0x20}));
}

TEST(PollCycleWithoutPanel, KeepsTheClockGoingWithoutAnyTraffic) {
    VirtualTime time(8 * 3600 + 59 * 60 + 58);
    MonitorState state;
    RecordingHooks hooks;
    PollCycle cycle(state, time, hooks);
    for (int i = 0; i < 3; ++i) {
        time.advance(1.0);
        EXPECT_TRUE(cycle.onPollTick());
    }
    EXPECT_EQ(state.poll.shownMinute, "09:00");
    EXPECT_EQ(hooks.count("clock"), 2);  // 08:59 then 09:00
    EXPECT_EQ(hooks.count("refresh"), 0);
    EXPECT_EQ(time.waits(), 0);
}

}  // namespace
}  // namespace kestrelon
