// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated panel driven by the real protocol in virtual time: registers kept, readings
// answered, bad frames ignored, EEPROM busy after writes, and the frame record and its lines.
#include "device/simulated_panel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "device/frame_trace.h"
#include "device/panel_finder.h"
#include "device/panel_protocol.h"
#include "device/simulated_bus.h"
#include "tests/support/fakes.h"

namespace kestrelon {

namespace {

struct SimulatedPanelTest : ::testing::Test {
    VirtualTime time;
    MonitorState state;

    void fillSettings() {
        for (Channel ch : kAllChannels) {
            const int n = channelNumber(ch);
            state.settings.limitCelsius[ch] = 50 + n;
            state.settings.limitFahrenheit[ch] = 120 + n;
            state.settings.fanSetPoint[ch] = 1000 + 100 * n;
            state.settings.manualFanSpeed[ch] = 1200 + 10 * n;
        }
        state.settings.fanMode = FanMode::Automatic;
        state.panel.volumeLevel = 14, state.panel.lcdSensor = 1,
        state.settings.backlight = Backlight::Blue;
        state.poll.shownMinute = "09:05";
    }
};

TEST_F(SimulatedPanelTest, FullPushLandsInItsRegisters) {
    SimulatedPanel panel(time);
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);
    fillSettings();
    protocol.PushAllSettings();

    EXPECT_EQ(panel.writeOrder(),
              (std::deque<uint8_t>{0x29, 0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x28}));
    EXPECT_TRUE(panel.badFrames().empty());
    EXPECT_EQ(panel.registerBytes(0x20), (std::array<uint8_t, 6>{51, 52, 53, 54, 0, 0}));
    EXPECT_EQ(panel.registerBytes(0x21), (std::array<uint8_t, 6>{121, 122, 123, 124, 0, 0}));
    EXPECT_EQ(panel.registerBytes(0x25), (std::array<uint8_t, 6>{0x14, 0x05, 0x78, 0x05, 0, 0}));
    EXPECT_EQ(panel.registerBytes(0x29), (std::array<uint8_t, 6>{0x04, 0x00, 14, 0x11, 2, 0}));
    EXPECT_EQ(panel.registerBytes(0x28), (std::array<uint8_t, 6>{0, 0, 0, 0x09, 0x05, 0}));
    EXPECT_FALSE(panel.registerBytes(0x2A).has_value());
    EXPECT_GE(time.totalWaitSeconds(), 1.8);
}

TEST_F(SimulatedPanelTest, ReadingsDriftSlowlyAndDecodeThroughTheProtocol) {
    SimulatedPanelOptions options;
    options.absent_sensor = Channel::Case;
    SimulatedPanel panel(time, options);
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);

    std::set<int> seen;
    int previous = -1;
    for (int tick = 0; tick < 300; ++tick) {
        protocol.ReadTemps(ChannelPair::First);
        protocol.ReadTemps(ChannelPair::Second);
        protocol.ReadFans(ChannelPair::First);
        protocol.ReadFanLimits(ChannelPair::First);
        protocol.ReadFanLimits(ChannelPair::Second);
        ASSERT_TRUE(state.readings.temperature[Channel::Cpu] &&
                    state.readings.fanSpeed[Channel::Cpu]);
        const int cpu = *state.readings.temperature[Channel::Cpu];
        EXPECT_NEAR(cpu, options.base_temps[0], 3);
        EXPECT_EQ(state.readings.temperature[Channel::Case], std::nullopt)
            << "no sensor: the panel says 255, the reading is missing";
        EXPECT_GT(*state.readings.fanSpeed[Channel::Cpu], 1000);
        EXPECT_LE(*state.readings.fanSpeed[Channel::Cpu], 2450);
        if (previous >= 0) {
            EXPECT_LE(std::abs(cpu - previous), 1) << "slow drift";
        }
        previous = cpu;
        seen.insert(cpu);
        time.advance(1.0);
    }
    EXPECT_GT(seen.size(), 2u) << "temperatures move";
    EXPECT_EQ(panel.temperature(Channel::Case), 255);
    EXPECT_EQ(state.readings.fanLimit, (PerChannel<int32_t>{{2400, 2000, 1600, 3000}}));
}

TEST_F(SimulatedPanelTest, ManualModeFansFollowTheManualSpeeds) {
    SimulatedPanel panel(time);
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);
    state.settings.fanMode = FanMode::Manual;
    state.settings.manualFanSpeed[Channel::Cpu] = 1300,
    state.settings.manualFanSpeed[Channel::Hdd] = 5000;  // fan 2 above its limit of 2000
    protocol.PushManualFanSpeeds(ChannelPair::First);
    protocol.PushStatusRegister();
    protocol.ReadFans(ChannelPair::First);
    EXPECT_NEAR(state.readings.fanSpeed[Channel::Cpu].value_or(0), 1300, 12);
    EXPECT_LE(state.readings.fanSpeed[Channel::Hdd].value_or(0), 2000);
    EXPECT_GE(state.readings.fanSpeed[Channel::Hdd].value_or(0), 1988);
}

TEST_F(SimulatedPanelTest, BadChecksumIsRecordedAndIgnored) {
    SimulatedPanel panel(time);
    std::vector<uint8_t> good{0x00, 0x20, 60, 55, 50, 45, 0, 0, 0xCE};
    std::vector<uint8_t> bad = good;
    bad[2] = 99;
    panel.write(good);
    panel.write(bad);
    EXPECT_EQ(panel.registerBytes(0x20), (std::array<uint8_t, 6>{60, 55, 50, 45, 0, 0}));
    ASSERT_EQ(panel.badFrames().size(), 1u);
    EXPECT_EQ(panel.badFrames()[0], bad);
    EXPECT_EQ(panel.frames().size(), 2u) << "every frame is in the record";
}

TEST_F(SimulatedPanelTest, EepromIsBusyForAWhileAfterEachWrite) {
    SimulatedPanelOptions options;
    options.eeprom_busy_seconds = 0.170;
    SimulatedPanel panel(time, options);
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);

    protocol.PushTempLimits();
    EXPECT_TRUE(panel.eepromBusy());
    const std::size_t before = panel.frames().size();
    EXPECT_TRUE(
        link.WaitEepromIdle());  // after the 50 ms settle: busy at 100 and 150 ms, idle at 200
    EXPECT_EQ(panel.frames().size() - before, 6u);
    EXPECT_FALSE(panel.eepromBusy());

    protocol.SyncClock();  // the clock is not EEPROM-backed
    EXPECT_FALSE(panel.eepromBusy());
}

// A short record keeps the newest frames only; the programs' panel keeps none, and answers and
// prints the same.
TEST_F(SimulatedPanelTest, TraceLinesAndSinkShowEveryFrameAsItHappens) {
    SimulatedPanelOptions three;
    three.record_limit = 3;
    for (const SimulatedPanelOptions& options : {three, UnrecordedPanelOptions()}) {
        SCOPED_TRACE(options.record_limit);
        VirtualTime clock;
        SimulatedPanel panel(clock, options);
        PanelLink link(panel, clock, state);
        PanelProtocol protocol(link, state);
        std::vector<std::string> printed;
        std::vector<double> times;
        panel.setTraceSink([&](const TraceFrame& f) {
            printed.push_back(traceLine(f));
            times.push_back(f.time);
        });
        state.settings.fanMode = FanMode::Manual, state.panel.alarmEnabled = true,
        state.panel.volumeLevel = 14, state.panel.lcdSensor = 2;
        state.settings.backlight = Backlight::Purple;
        protocol.PushStatusRegister();

        ASSERT_EQ(printed.size(), 5u);  // two busy reads and their replies, then the write
        EXPECT_EQ(printed[0], "> 00 1C 00 00 00 00 00 00 20");
        EXPECT_EQ(printed[1], "< 00 1C 00 00 00 00 00 00 00");
        EXPECT_EQ(printed[4], "> 00 29 07 00 0E 12 03 00 6F");
        EXPECT_DOUBLE_EQ(times[0], 0.0);
        EXPECT_DOUBLE_EQ(times[1], 0.05);
        EXPECT_DOUBLE_EQ(times[4], 0.10);
        EXPECT_EQ(panel.registerBytes(0x29),
                  (std::array<uint8_t, 6>{0x07, 0x00, 0x0E, 0x12, 0x03, 0x00}));
        const auto kept = std::min<std::size_t>(printed.size(), options.record_limit);
        EXPECT_EQ(panel.traceLines(),
                  (std::vector<std::string>(printed.end() - kept, printed.end())));
        EXPECT_EQ(panel.writeOrder().size(), std::min<std::size_t>(1, options.record_limit));
    }
}

TEST_F(SimulatedPanelTest, BusListsOnePanelThatTheFinderOpens) {
    SimulatedBus bus(time);
    PanelSearch search = FindDevice(bus);
    ASSERT_TRUE(search.found());
    EXPECT_EQ(search.device.path, "simulated");
    EXPECT_EQ(search.transport->reportLengths(), (ReportLengths{9, 9, 9}));

    PanelLink link(*search.transport, time, state);
    PanelProtocol(link, state).ReadFanLimits(ChannelPair::Second);
    EXPECT_EQ(state.readings.fanLimit[Channel::Case], 3000);
    EXPECT_EQ(bus.panel().frames().size(), 2u);
}

TEST(TracingTransport, TracesFramesOfAnyTransport) {
    VirtualTime time;
    auto inner = std::make_unique<test::ScriptedTransport>();
    inner->replies.push_back(test::reply(0x18, {0x34, 0x12}));
    std::vector<std::string> lines;
    TracingTransport tracing(std::move(inner), time,
                             [&](const TraceFrame& f) { lines.push_back(traceLine(f)); });
    MonitorState state;
    PanelLink link(tracing, time, state);
    link.readRegister(0x18, 10);
    EXPECT_EQ(lines, (std::vector<std::string>{"> 00 18 00 00 00 00 00 00 24",
                                               "< 00 18 34 12 00 00 00 00 00"}));
}

}  // namespace

}  // namespace kestrelon
