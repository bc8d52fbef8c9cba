// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl against the simulated panel and a bus of test devices, in virtual time: what it
// prints, what it sends, and how it fails.
#include "app/ctl.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/transport.h"
#include "monitor/readings_text.h"
#include "settings/settings_file.h"
#include "skin/geometry.h"

namespace kestrelon {
namespace {

// A bus whose panel interfaces never open (a permission problem, say).
struct LockedBus final : HidBus {
    std::vector<HidDeviceInfo> devices;
    std::vector<HidDeviceInfo> enumerate() override { return devices; }
    std::unique_ptr<Transport> open(const HidDeviceInfo& d, std::string& error) override {
        error = d.path + ": permission denied; add a udev rule";
        return nullptr;
    }
};

struct CtlFixture : ::testing::Test {
    QTemporaryDir dir;
    LockedBus bus;
    VirtualTime time{9 * 3600 + 5 * 60};
    std::string settingsPath = dir.filePath("Settings.inf").toStdString();
    CtlEnvironment env{bus, time, time, settingsPath, "", {}, {}, "", {}, {}, {}};
    std::ostringstream out, err;

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCtl(args, env, out, err);
    }
    void writeSettings(const std::string& text) { std::ofstream(settingsPath) << text; }
    std::vector<std::string> outLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
};

TEST_F(CtlFixture, StatusAsJsonReportsEveryChannelAndMarksAnAbsentSensor) {
    ASSERT_EQ(run({"--simulated", "status", "--json"}), 0) << err.str();
    QJsonParseError error;
    auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out.str();
    QJsonArray channels = doc.object()["channels"].toArray();
    ASSERT_EQ(channels.size(), 4);
    for (const auto& c : channels) {
        QJsonObject o = c.toObject();
        EXPECT_TRUE(o["temperature"].isNull() || o["temperature"].toInt() > 0);
        EXPECT_GT(o["fan"].toInt(), 0);
        EXPECT_EQ(o["fan_limit"].toInt() % 100, 0);
    }
    EXPECT_EQ(channels[0].toObject()["fan_limit"].toInt(), 2400);  // 2450 rounded down
    EXPECT_EQ(doc.object()["unit"].toString(), "C");
}

TEST_F(CtlFixture, StatusAsksARunningKestrelonForItsLatestReading) {
    // What the running program answers is what the panel gave it: round trip of the record.
    MonitorState running;
    running.settings.unit = TemperatureUnit::Fahrenheit;
    running.readings.temperature.values = {113, std::nullopt, 120, 0};  // 0 is a reading too
    running.readings.fanSpeed.values = {1450, 0, std::nullopt, 65535};
    running.readings.fanLimit.values = {2400, 2000, 1600, 3000};
    const std::string record = StatusRecord(running, "/dev/hidraw3");
    MonitorState read;
    std::string panel;
    ASSERT_TRUE(ParseStatusRecord(record, read, panel)) << record;
    EXPECT_EQ(panel, "/dev/hidraw3");
    EXPECT_TRUE(read.settings.fahrenheit());
    EXPECT_FALSE(read.settings.celsiusButtonLit());
    EXPECT_EQ(read.readings.temperature, running.readings.temperature);
    EXPECT_EQ(read.readings.fanSpeed, running.readings.fanSpeed);
    EXPECT_EQ(read.readings.fanLimit, running.readings.fanLimit);

    struct Case {
        std::string answer;
        int status;
        std::string expected;  // in the output (status 0) or the whole error line
    };
    const Case cases[] = {
        {"ok " + record, 0, "2 HDD     absent       0        2000\n"},
        {"ok " + record, 0, "3 VGA     120          absent   1600\n"},
        {"ok " + record, 0, "4 case    0            65535    3000\n"},
        {"error no panel attached to the running kestrelon", 1,
         "kestrelon: no panel attached to the running kestrelon\n"},
        {"ok /dev/hidraw3\tC\t1 2 3\t1 2 3 4\t1 2 3 4", 1,
         "kestrelon: the running kestrelon's answer is no status"},
        {"ok /dev/hidraw3\tK\t1 2 3 4\t1 2 3 4\t1 2 3 4", 1,
         "kestrelon: the running kestrelon's answer is no status"},
        {"ok \tC\t1 2 3 4\t1 2 3 4\t1 2 3 4", 1,
         "kestrelon: the running kestrelon's answer is no status"},
        {"ok /dev/hidraw3\tC\t1 2 3 4\t1 2 3 4\t1 - 3 4", 1,  // fan limits are never missing
         "kestrelon: the running kestrelon's answer is no status"},
        {"ok /dev/hidraw3\tC\t1 -- 3 4\t1 2 3 4\t1 2 3 4", 1,
         "kestrelon: the running kestrelon's answer is no status"},
    };
    for (const Case& c : cases) {
        env.running = [&](const std::string& request) -> std::optional<std::string> {
            EXPECT_EQ(request, "status");
            return c.answer;
        };
        EXPECT_EQ(run({"status"}), c.status) << c.answer;
        if (c.status == 0) {
            EXPECT_NE(out.str().find("panel /dev/hidraw3\n"), std::string::npos) << out.str();
            EXPECT_NE(out.str().find(c.expected), std::string::npos) << out.str();
        } else {
            const std::string said = err.str();
            EXPECT_EQ(said.rfind(c.expected, 0), 0u) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        }
    }
}

TEST_F(CtlFixture, SettingsListsEveryKeyInFileOrder) {
    writeSettings("[settings]\r\nst1=65\r\nauto=1\r\nt_unit=3\r\nalarm=07:30\r\nmsf4=2000\r\n");
    ASSERT_EQ(run({"settings"}), 0) << err.str();
    auto lines = outLines();
    ASSERT_EQ(lines.size(), 20u);  // twenty keys
    EXPECT_EQ(lines[0], "st1=65");
    EXPECT_EQ(lines[1], "st2=0");
    EXPECT_EQ(lines[8], "color=0");
    EXPECT_EQ(lines[9], "auto=1");
    EXPECT_EQ(lines[10], "t_unit=1");
    EXPECT_EQ(lines[11], "alarm=07:30");
    EXPECT_EQ(lines[19], "msf4=2000");

    ASSERT_EQ(run({"settings", "--json"}), 0);
    auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()));
    EXPECT_EQ(doc.object()["alarm"].toString(), "07:30");
    EXPECT_EQ(doc.object()["st1"].toInt(), 65);
    EXPECT_EQ(doc.object().size(), 20);
}

TEST_F(CtlFixture, PushWithTraceSendsTheStartUpSequenceBeforeItsOwnOutput) {
    writeSettings("[settings]\r\nst1=60\r\nst2=55\r\nst3=50\r\nst4=45\r\n");
    ASSERT_EQ(run({"--simulated", "--trace", "push"}), 0) << err.str();
    std::vector<std::string> sentRegisters;
    auto lines = outLines();
    for (const auto& l : lines)
        if (l.rfind("> 00 ", 0) == 0 && l.substr(5, 2) != "1C")
            sentRegisters.push_back(l.substr(5, 2));
    // The file has no fan values: the fan limits are read first, so that no fan is pushed a 0.
    EXPECT_EQ(sentRegisters, (std::vector<std::string>{"1D", "1E", "29", "20", "21", "24", "25",
                                                       "2B", "2C", "28"}));
    MonitorState saved;
    LoadSettings(saved.settings, settingsPath);
    EXPECT_EQ(saved.settings.manualFanSpeed, (PerChannel<int32_t>{{2400, 2000, 1600, 3000}}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "> 00 20 3C 37 32 2D 00 00 CE"), lines.end());
    // The clock record carries the time of day, 09:05.
    auto clock = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& l) { return l.rfind("> 00 28", 0) == 0; });
    ASSERT_NE(clock, lines.end());
    EXPECT_EQ(clock->substr(17, 5), "09 05");
    EXPECT_EQ(lines.back(), "pushed the settings and the clock to simulated");
    EXPECT_GE(time.totalWaitSeconds(), 1.8);
}

TEST_F(CtlFixture, PushWithoutASettingsFileSendsNothingAndSaysSo) {
    EXPECT_EQ(run({"--simulated", "--trace", "push"}), 1);
    EXPECT_TRUE(out.str().empty());  // not one frame
    EXPECT_EQ(err.str(), "kestrelon: no settings file at " + settingsPath + "; nothing pushed\n");
    EXPECT_FALSE(std::filesystem::exists(settingsPath));
}

TEST_F(CtlFixture, SetSavesAndPushesOnlyWhatChangedAndRefusesWithoutTouchingAnything) {
    writeSettings("[settings]\r\nst1=60\r\nfst1=140\r\ncolor=2\r\nalarm=06:00\r\n");
    ASSERT_EQ(run({"--simulated", "--trace", "set", "color=red", "alarm=7:30"}), 0) << err.str();
    std::vector<std::string> sent;
    for (const auto& l : outLines())
        if (l.rfind("> 00 ", 0) == 0 && l.substr(5, 2) != "1C") sent.push_back(l.substr(5, 2));
    // The fan limits are read (for the manual speeds' bounds), then the two changed registers.
    EXPECT_EQ(sent, (std::vector<std::string>{"1D", "1E", "2A", "29"}));
    MonitorState saved;
    LoadSettings(saved.settings, settingsPath);
    EXPECT_EQ(saved.settings.backlight, Backlight::Red);
    EXPECT_EQ(saved.settings.alarm.text, "07:30");
    EXPECT_EQ(saved.settings.limitCelsius[Channel::Cpu], 60);

    const std::string before = SettingsFileText(saved.settings);
    EXPECT_EQ(run({"--simulated", "--trace", "set", "st1=95"}), 1);
    EXPECT_TRUE(out.str().empty());  // refused before the panel is opened
    EXPECT_EQ(err.str(), "kestrelon: st1=95: a limit in °C lies between 25 and 90\n");
    LoadSettings(saved.settings, settingsPath);
    EXPECT_EQ(SettingsFileText(saved.settings), before);
}

TEST_F(CtlFixture, SetPushAndWatchGoThroughARunningKestrelon) {
    std::vector<std::string> asked;
    env.running = [&](const std::string& request) -> std::optional<std::string> {
        asked.push_back(request);
        if (request.rfind("set st1=99", 0) == 0)
            return "error st1=99: a limit in °C lies between 25 and 90";
        if (request == "reading") return "ok {\"time\": \"09:05:00\"}";
        if (request == "plug")
            return "error only kestrelon-demo's simulated panel has a plug to pull";
        return "ok pushed 2 register(s)";
    };
    EXPECT_EQ(run({"set", "st1=70", "fst2=100"}), 0);
    EXPECT_EQ(run({"set", "st1=99"}), 1);
    EXPECT_EQ(err.str(), "kestrelon: st1=99: a limit in °C lies between 25 and 90\n");
    EXPECT_EQ(run({"push"}), 0);
    EXPECT_EQ(run({"watch", "--json", "--count", "2"}), 0);
    EXPECT_EQ(outLines(),
              (std::vector<std::string>{"{\"time\": \"09:05:00\"}", "{\"time\": \"09:05:00\"}"}));
    EXPECT_EQ(run({"unplug"}), 0);
    EXPECT_EQ(run({"plug"}), 1);
    EXPECT_EQ(err.str(), "kestrelon: only kestrelon-demo's simulated panel has a plug to pull\n");
    EXPECT_EQ(asked, (std::vector<std::string>{"set st1=70 fst2=100", "set st1=99", "push",
                                               "reading", "reading", "reading", "unplug", "plug"}));
    EXPECT_FALSE(std::filesystem::exists(settingsPath));  // the running program owns the file

    env.running = [](const std::string&) { return std::optional<std::string>(); };
    EXPECT_EQ(run({"unplug"}), 1);  // nothing runs: a plug to pull needs a running demo
    EXPECT_NE(err.str().find("no kestrelon-demo is running"), std::string::npos);
}

TEST_F(CtlFixture, WatchPrintsOneParsableLinePerReadingAtItsInterval) {
    ASSERT_EQ(run({"--simulated", "watch", "--json", "--count", "3", "--interval", "2.5"}), 0)
        << err.str();
    const auto lines = outLines();
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& line : lines) {
        QJsonParseError error;
        const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
        EXPECT_EQ(doc.object()["temperatures"].toArray().size(), 4);
        EXPECT_EQ(doc.object()["fan_limits"].toArray()[0].toInt(), 2400);
    }
    EXPECT_GE(time.totalWaitSeconds(), 5.0);  // two pauses between three readings

    ASSERT_EQ(run({"--simulated", "watch", "--count", "1"}), 0);
    EXPECT_NE(out.str().find("limit 2400 2000 1600 3000"), std::string::npos) << out.str();
    EXPECT_EQ(run({"watch", "--interval", "0"}), 2);
    EXPECT_EQ(run({"watch", "--count", "x"}), 2);
}

TEST_F(CtlFixture, FailuresAreOneLineOnStderrAndANonZeroStatus) {
    EXPECT_EQ(run({"list"}), 1);
    EXPECT_NE(err.str().find("no panel found"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    bus.devices.push_back({"/dev/hidraw7", kPanelVendorId, kPanelProductId, 0x100, "", ""});
    EXPECT_EQ(run({"status"}), 1);
    EXPECT_NE(err.str().find("permission denied"), std::string::npos);

    EXPECT_EQ(run({"settings", "--file", dir.filePath("missing.inf").toStdString()}), 1);
    EXPECT_NE(err.str().find("cannot read settings file"), std::string::npos);
    EXPECT_EQ(run({"settings", "--file", dir.path().toStdString()}), 1);

    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(run({"--help"}), 0);  // asked for, the usage is no failure
    EXPECT_NE(out.str().find("usage: kestrelonctl"), std::string::npos);
    EXPECT_EQ(run({"status", "--bogus"}), 2);
}

TEST_F(CtlFixture, ListShowsTheSimulatedPanelWithItsReportLengths) {
    ASSERT_EQ(run({"--simulated", "list"}), 0);
    EXPECT_EQ(out.str(),
              "simulated  vendor 0x1267  product 0xa102  input 9  output 9  feature 9\n");
}

}  // namespace
}  // namespace kestrelon

namespace kestrelon {
namespace {

// Render needs the default skin, which the build draws into KESTRELON_SKIN_DIR.
struct RenderFixture : CtlFixture {
    void SetUp() override { env.skinDir = KESTRELON_SKIN_DIR; }
    QImage rendered(const std::vector<std::string>& extra) {
        std::string png = dir.filePath("out.png").toStdString();
        std::vector<std::string> args{"--simulated", "render", png};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(run(args), 0) << err.str();
        return QImage(QString::fromStdString(png));
    }
};

TEST_F(RenderFixture, TheWindowImageIsTransparentOutsideItsOutline) {
    QImage closed = rendered({});
    ASSERT_EQ(closed.size(), QSize(660, 441));
    EXPECT_EQ(qAlpha(closed.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(closed.pixel(122 + 105, 119 + 105)), 255);  // the middle of the LCD
    // No key colour is left anywhere the desktop would see it.
    int keyVisible = 0;
    for (int y = 0; y < closed.height(); ++y)
        for (int x = 0; x < closed.width(); ++x)
            if (qAlpha(closed.pixel(x, y)) == 255 && (closed.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                ++keyVisible;
    EXPECT_EQ(keyVisible, 0);

    // Opening the upper-left wing uncovers its quadrant of the LCD and leaves the other wings
    // (the readouts of the side panel follow the simulated panel's drifting values).
    QImage upperLeftOpen = rendered({"--wings", "ul"});
    EXPECT_NE(closed.copy(122, 119, 100, 100), upperLeftOpen.copy(122, 119, 100, 100));
    EXPECT_EQ(closed.copy(233, 228, 100, 100), upperLeftOpen.copy(233, 228, 100, 100));
}

TEST_F(RenderFixture, TheSidePanelShowsTheHostsFactsInUnitsThatFit) {
    const auto unitPicture = [](std::string_view file) {
        return QImage(QString::fromStdString(std::string(KESTRELON_SKIN_DIR) + "/" +
                                             std::string(file)))
            .convertToFormat(QImage::Format_ARGB32);
    };
    const QSize size(geo::kHostUnitSize.w, geo::kHostUnitSize.h);
    const struct {
        int32_t ramMb, diskGb;
        std::size_t ramUnit, diskUnit;  // index into the unit pictures
    } cases[] = {{9999, 999, 0, 0}, {24105, 1863, 1, 1}};
    QImage previous;
    for (const auto& c : cases) {
        env.hostFacts = [&c](MonitorState& state) {
            state.host.memoryMb = c.ramMb;
            state.host.diskGb = c.diskGb;
        };
        const QImage window = rendered({}).convertToFormat(QImage::Format_ARGB32);
        for (const auto& [units, index] :
             {std::pair{geo::kHostUnits[0], c.ramUnit}, std::pair{geo::kHostUnits[1], c.diskUnit}})
            EXPECT_EQ(window.copy(QRect(QPoint(units.at.x, units.at.y), size)),
                      unitPicture(units.pictures[index]))
                << c.ramMb << " MB, " << c.diskGb << " GB: " << units.pictures[index];
        // The readouts themselves change with the values.
        if (!previous.isNull()) {
            EXPECT_NE(window.copy(480, 260, 24, 9), previous.copy(480, 260, 24, 9));
        }
        previous = window;
    }
}

TEST_F(RenderFixture, AMissingSkinFileIsNamedAndNothingIsRendered) {
    QTemporaryDir skin;
    for (const auto& entry : std::filesystem::directory_iterator(KESTRELON_SKIN_DIR))
        std::filesystem::copy(
            entry.path(),
            skin.filePath(QString::fromStdString(entry.path().filename().string())).toStdString());
    std::filesystem::remove(skin.filePath("tvgaba.bmp").toStdString());
    std::filesystem::remove(skin.filePath("harrow.cur").toStdString());
    env.skinDir = skin.path().toStdString();
    EXPECT_EQ(run({"--simulated", "render", dir.filePath("x.png").toStdString()}), 1);
    EXPECT_NE(err.str().find("tvgaba.bmp"), std::string::npos);
    EXPECT_NE(err.str().find("harrow.cur"), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));

    EXPECT_EQ(run({"render", "x.png", "--wings", "sideways"}), 2);
}

}  // namespace
}  // namespace kestrelon
