// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside: the panel unplugged and plugged back, an EEPROM that stays busy, replies
// that are short, empty or garbage, a full disk, a huge picture. Every time: no crash, no hang,
// no lost settings, and one log line rather than one a second.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fstream>

#include "monitor/panel_recovery.h"
#include "monitor/poll_cycle.h"
#include "core/log.h"
#include "device/simulated_bus.h"
#include "settings/settings_file.h"
#include "tests/support/controls_harness.h"
#include "tests/support/fakes.h"

namespace kestrelon {
namespace {

int lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The desktop's poll and recovery over the simulated panel, in virtual time.
struct PolledPanel {
    VirtualTime time;
    SimulatedBus bus;
    MonitorState state;
    PanelSession session{state, time};
    NoPollHooks hooks;
    PollCycle cycle{state, time, hooks};
    AlwaysLook watch;
    int backs = 0;
    PanelRecovery recovery{state, session, bus, watch, {},
                           {[this] { cycle.attachPanel(nullptr, nullptr); },
                            [this] {
                                ++backs;
                                cycle.attachPanel(session.link(), session.protocol());
                            },
                            {}}};

    explicit PolledPanel(SimulatedPanelOptions options = {}) : bus(time, options) {
        session.Start(bus);
        cycle.attachPanel(session.link(), session.protocol());
    }
    void tick(int n) {
        for (int i = 0; i < n; ++i) {
            time.advance(1.0);
            cycle.onPollTick();
            recovery.afterPoll();
        }
    }
};

TEST(Faults, AnUnpluggedPanelIsGivenUpOnceAndTakenBackWithItsSettingsWhenItReturns) {
    ForgetLoggedLines();
    PolledPanel p;
    p.state.settings.limitCelsius[Channel::Cpu] = 61;
    p.tick(3);
    ASSERT_TRUE(p.state.panel.present);
    EXPECT_GT(p.state.readings.shownTemperature[Channel::Cpu], 0);

    ::testing::internal::CaptureStderr();
    p.bus.panel().setPlugged(false);
    p.tick(60);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("stopped answering"), std::string::npos);
    EXPECT_FALSE(p.state.panel.present);
    for (Channel ch : kAllChannels) {  // shown as absent
        EXPECT_EQ(p.state.readings.shownTemperature[ch], 0);
        EXPECT_EQ(p.state.readings.shownFanSpeed[ch], 0);
    }
    EXPECT_EQ(p.state.settings.limitCelsius[Channel::Cpu], 61);  // nothing of the settings is lost

    const std::size_t before = p.bus.panel().writeOrder().size();
    p.bus.panel().setPlugged(true);
    p.tick(2);
    EXPECT_TRUE(p.state.panel.present);
    EXPECT_EQ(p.backs, 1);
    const auto& order = p.bus.panel().writeOrder();
    const std::vector<uint8_t> pushed(order.begin() + static_cast<std::ptrdiff_t>(before),
                                      order.begin() + static_cast<std::ptrdiff_t>(before) + 8);
    EXPECT_EQ(pushed, (std::vector<uint8_t>{0x29, 0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x28}));
    EXPECT_EQ(p.bus.panel().registerBytes(0x20)->at(0), 61);
    EXPECT_GT(p.state.readings.shownTemperature[Channel::Cpu], 0);  // readings are back
}

TEST(Faults, TheHidrawWatchSeesNodesComeAndGoAndNothingElse) {
    QTemporaryDir dev;
    const std::filesystem::path dir = dev.path().toStdString();
    HidrawDirectoryWatch watch(dir);
    const auto touch = [&](const char* name) { std::ofstream(dir / name) << ""; };
    EXPECT_TRUE(watch.mayHaveChanged());  // the first look
    EXPECT_FALSE(watch.mayHaveChanged());
    touch("hidraw3");
    EXPECT_TRUE(watch.mayHaveChanged());
    EXPECT_FALSE(watch.mayHaveChanged());
    touch("ttyS0");
    EXPECT_FALSE(watch.mayHaveChanged());
    std::filesystem::remove(dir / "hidraw3");
    EXPECT_TRUE(watch.mayHaveChanged());
    HidrawDirectoryWatch missing(dir / "nowhere");
    EXPECT_TRUE(missing.mayHaveChanged());
    EXPECT_FALSE(missing.mayHaveChanged());
}

TEST(Faults, AnEepromThatStaysBusyCostsOneLogLineNotOneASecond) {
    ForgetLoggedLines();
    SimulatedPanelOptions busy;
    busy.eeprom_busy_seconds = 1e9;
    PolledPanel p(busy);
    p.state.poll.lcdScanning = false;  // every tick re-sends the status register
    ::testing::internal::CaptureStderr();
    p.tick(30);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 1) << log;
    EXPECT_NE(log.find("EEPROM stayed busy"), std::string::npos);
    EXPECT_TRUE(p.state.panel.present);  // busy is not gone
}

TEST(Faults, ShortEmptyAndGarbageRepliesNeitherCrashNorHang) {
    const std::vector<std::function<std::vector<uint8_t>(uint8_t)>> answers = {
        [](uint8_t) { return std::vector<uint8_t>{}; },
        [](uint8_t reg) { return std::vector<uint8_t>{0, reg}; },
        [](uint8_t) { return std::vector<uint8_t>(9, 0xFF); },
        [](uint8_t reg) {
            std::vector<uint8_t> junk(9);
            for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = uint8_t(reg * 37 + i * 101);
            return junk;
        },
    };
    for (const auto& answer : answers) {
        VirtualTime time;
        MonitorState state;
        state.panel.present = true;
        test::ScriptedTransport transport;
        transport.answer = answer;
        PanelLink link(transport, time, state);
        PanelProtocol protocol(link, state);
        NoPollHooks hooks;
        PollCycle cycle(state, time, hooks);
        cycle.attachPanel(&link, &protocol);
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(cycle.onPollTick());
        protocol.PushAllSettings();
        EXPECT_LT(time.monotonicSeconds(), 30.0);  // bounded waits, even for a nonsense busy flag
        for (Channel ch : kAllChannels) EXPECT_EQ(state.readings.fanLimit[ch] % 100, 0);
    }
}

TEST(Faults, WritesThatFailMakeThePanelGoneAfterAFewCallsNotAtTheFirst) {
    VirtualTime time;
    MonitorState state;
    struct FailingWrites final : Transport {
        int failures = 0;
        int write(std::span<const uint8_t>) override { return failures++ < 3 ? -1 : 9; }
        int getFeatureReport(std::span<uint8_t> b) override { return int(b.size()); }
        ReportLengths reportLengths() const override { return {9, 9, 9}; }
    } transport;
    PanelLink link(transport, time, state);
    for (int i = 0; i < 3; ++i) link.readRegister(0x14, 10);
    EXPECT_FALSE(link.lost());  // every read answered: a hiccup, not an unplug
    transport.failures = -100;  // now everything fails for a long while
    struct AlwaysFails final : Transport {
        int write(std::span<const uint8_t>) override { return -1; }
        int getFeatureReport(std::span<uint8_t>) override { return -1; }
        ReportLengths reportLengths() const override { return {9, 9, 9}; }
    } dead;
    PanelLink gone(dead, time, state);
    for (int i = 0; i < PanelLink::kLostAfterFailures / 2; ++i) gone.readRegister(0x14, 10);
    EXPECT_TRUE(gone.lost());
}

TEST(Faults, AFullDiskLeavesTheOldSettingsFileWhole) {
    ForgetLoggedLines();
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("Settings.inf").toStdString();
    MonitorState state;
    state.settings.limitCelsius[Channel::Cpu] = 65;
    ASSERT_TRUE(SaveSettings(state.settings, path));
    const std::string before = SettingsFileText(state.settings);

    // A file size limit makes every write past a few bytes fail, as a full disk does.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    state.settings.limitCelsius[Channel::Cpu] = 70;
    const bool saved =
        SaveSettings(state.settings, path);  // its log line goes to a terminal or a pipe
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved);
    std::ifstream in(path, std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(now, before);
    int leftovers = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString()))
        leftovers += e.path().filename() != "Settings.inf";
    EXPECT_EQ(leftovers, 0);  // no half-written temporary file stays behind
}

TEST(Faults, AnAbsurdlyLargeOrCorruptedSkinPictureIsSkippedWithOneLine) {
    ForgetLoggedLines();
    test::ControlsHarness h;
    // A BMP header claiming 60000 x 60000 pixels over a body of a few bytes.
    QByteArray huge("BM", 2);
    huge.append(QByteArray(12, '\0'));
    const auto put32 = [&](int at, int32_t v) {
        for (int i = 0; i < 4; ++i) huge[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    huge.resize(54 + 16);
    put32(2, 54 + 16);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    huge[26] = 1, huge[28] = 24;
    {
        QFile f(QString::fromStdString(h.skin.path("linkon.bmp").string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(huge);
    }
    {
        QFile f(QString::fromStdString(h.skin.path("tcpub.bmp").string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("garbage, not a picture");
    }
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 20; ++i) h.renderer.ShowLinkState(true);
    h.state.ui.lowerRightWingOpen = true;
    h.click(250, 236);  // the CPU limit icon blinks through its broken blink picture
    h.tick(5);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(log), 2) << log;
    EXPECT_EQ(h.state.ui.selectedItem, 11);  // the selection still works
}

TEST(Faults, ClicksAndTicksWithThePanelGoneDoNotTouchIt) {
    test::ControlsHarness h;
    h.connectPanel();
    h.panel.setPlugged(false);
    h.state.ui.upperLeftWingOpen = h.state.ui.lowerRightWingOpen = true;
    h.click(169, 204);  // backlight red: a push that fails
    h.click(175, 150);  // alarm on
    h.click(250, 236), h.click(310, 253);  // a limit step
    EXPECT_EQ(h.state.settings.backlight, Backlight::Red);
    EXPECT_TRUE(h.saved());
    EXPECT_TRUE(h.panel.frames().empty());
}

}  // namespace
}  // namespace kestrelon
