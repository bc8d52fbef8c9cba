// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl history: the last hour through a running kestrelon, longer spans (or any span
// when none runs) from the day files; absent values in each output form; bad spans refused.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sstream>

#include "app/ctl.h"
#include "app/history_answer.h"
#include "history/history_csv.h"
#include "history/recorder.h"
#include "history/utc_time.h"

namespace kestrelon {
namespace {

constexpr int64_t kNoon = 1798761600 - 12 * 3600;  // 2026-12-31T12:00:00Z

struct FakeUtcClock final : UtcClock {
    int64_t now = kNoon - 3 * 3600;
    int64_t utcSeconds() const override { return now; }
};

struct NoBus final : HidBus {
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string& error) override {
        error = "none";
        return nullptr;
    }
};

struct CtlHistoryFixture : ::testing::Test {
    QTemporaryDir dir;
    NoBus bus;
    VirtualTime time;
    FakeUtcClock clock;
    std::string historyDir = dir.filePath("history").toStdString();
    std::vector<std::string> asked;  // the requests a running kestrelon was sent
    bool running = false;
    std::unique_ptr<Recorder> recorder;
    CtlEnvironment env{bus, time, time, "", "", {}, {}, historyDir, [this] { return clock.now; },
                       {},  {}};
    std::ostringstream out, err;

    // Three hours of one sample a second: the CPU present, the HDD absent throughout, the VGA
    // sensor gone in the middle hour, the fans of the case stopped (0, not absent).
    void SetUp() override {
        recorder = std::make_unique<Recorder>(RecorderConfig{historyDir, 90}, clock);
        for (; clock.now < kNoon; ++clock.now) {
            Sample s;
            s.panelPresent = true;
            s.temperatureC[Channel::Cpu] = 40 + static_cast<double>(clock.now % 7);
            if (clock.now < kNoon - 7200 || clock.now >= kNoon - 3600)
                s.temperatureC[Channel::Vga] = 55;
            s.temperatureC[Channel::Case] = 30;
            s.fanRpm.values = {1200, std::nullopt, 1500, 0};
            s.limitC.values = {70, 45, 80, 40};
            recorder->record(s, clock.now);
        }
        clock.now = kNoon - 1;
        env.running = [this](const std::string& request) -> std::optional<std::string> {
            asked.push_back(request);
            if (!running) return std::nullopt;
            const long seconds = std::stol(request.substr(8));
            const std::string rows =
                HistoryAnswer(recorder->range(clock.now - seconds + 1, clock.now));
            return rows.empty() ? "ok" : "ok " + rows;
        };
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        asked.clear();
        return RunCtl(args, env, out, err);
    }
    std::vector<std::string> outLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
};

TEST_F(CtlHistoryFixture, ABadSpanIsRefusedInOneLineWithStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--since", "0m"},
                                               {"--since", "10"},
                                               {"--since", "10x"},
                                               {"--since", "-5m"},
                                               {"--since", "91d"},
                                               {"--since", "2161h"},
                                               {"--since", "1.5h"},
                                               {"--since", "m"},
                                               {"--since", "99999999999999999999d"},
                                               {"--since", " 10m"},
                                               {"--csv", "--json"}}) {
        std::vector<std::string> line{"history"};
        line.insert(line.end(), args.begin(), args.end());
        EXPECT_EQ(run(line), 2) << args[1];
        const std::string said = err.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(err.str().rfind("kestrelon: ", 0), 0u) << err.str();
        EXPECT_TRUE(out.str().empty()) << args[1];
        EXPECT_TRUE(asked.empty()) << args[1];
    }
    EXPECT_EQ(run({"history", "--since", "90d"}), 0) << err.str();
    EXPECT_EQ(run({"history", "--since"}), 2);
}

TEST_F(CtlHistoryFixture, TheLastHourComesFromTheRunningProgramOneRowASecond) {
    running = true;
    const struct {
        std::vector<std::string> args;
        std::string request;  // none: the files are read
        std::size_t rows;
    } cases[] = {
        {{"history", "--csv"}, "history 600", 600},
        {{"history", "--csv", "--since", "1h"}, "history 3600", 3600},
        {{"history", "--csv", "--since", "90s"}, "history 90", 90},
        {{"history", "--csv", "--since", "2h"}, "", 119},  // the minute being gathered is not
        {{"history", "--csv", "--since", "1d"}, "", 179},  // in the files yet
    };
    for (const auto& c : cases) {
        ASSERT_EQ(run(c.args), 0) << err.str();
        EXPECT_EQ(asked, c.request.empty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.request});
        const std::vector<std::string> lines = outLines();
        ASSERT_EQ(lines.size(), c.rows + 1) << c.args.back();
        EXPECT_EQ(lines[0], CsvHeader());
        EXPECT_EQ(lines.back().substr(0, 20), isoUtc(c.request.empty() ? kNoon - 120 : kNoon - 1));
    }
    // None running: the files, one row a minute, for the last hour too.
    running = false;
    ASSERT_EQ(run({"history", "--csv"}), 0);
    EXPECT_EQ(asked, std::vector<std::string>{"history 600"});
    EXPECT_EQ(outLines().size(), 1u + 9);
}

TEST_F(CtlHistoryFixture, AbsentValuesAreEmptyNullOrADashAndNeverZero) {
    ASSERT_EQ(run({"history", "--since", "3h", "--json"}), 0) << err.str();
    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << out.str().substr(0, 300);
    const QJsonArray rows = doc.object()["rows"].toArray();
    ASSERT_EQ(rows.size(), 179);
    const auto channel = [&](int row, int ch) {
        return rows[row].toObject()["channels"].toArray()[ch].toObject();
    };
    EXPECT_EQ(rows[0].toObject()["span_seconds"].toInt(), 60);
    EXPECT_EQ(channel(0, 0)["temperature_c"].toObject()["min"].toDouble(), 40);
    EXPECT_EQ(channel(0, 0)["temperature_c"].toObject()["max"].toDouble(), 46);
    EXPECT_TRUE(channel(0, 1)["temperature_c"].isNull());
    EXPECT_TRUE(channel(0, 1)["fan_rpm"].isNull());
    EXPECT_FALSE(channel(0, 2)["temperature_c"].isNull());
    EXPECT_TRUE(channel(90, 2)["temperature_c"].isNull());  // the VGA sensor's hour away
    EXPECT_EQ(channel(0, 3)["fan_rpm"].toObject()["max"].toDouble(), 0);  // stopped, not absent
    EXPECT_EQ(channel(0, 1)["limit_c"].toInt(), 45);

    ASSERT_EQ(run({"history", "--since", "3h"}), 0) << err.str();
    const std::vector<std::string> table = outLines();
    ASSERT_EQ(table.size(), 180u);
    EXPECT_EQ(table[0].substr(0, 10), "time (UTC)");
    // Mean temperatures of CPU, HDD, VGA and case, then the four fans.
    std::istringstream first(table[1]), middle(table[91]);
    std::vector<std::string> a, b;
    for (std::string w; first >> w;) a.push_back(w);
    for (std::string w; middle >> w;) b.push_back(w);
    EXPECT_EQ(a, (std::vector<std::string>{"2026-12-31", "09:00:00", "43.0", "-", "55.0", "30.0",
                                           "1200", "-", "1500", "0"}));
    EXPECT_EQ(b[4], "-");

    ASSERT_EQ(run({"history", "--since", "3h", "--csv"}), 0);
    EXPECT_NE(outLines()[1].find("Z,40,43.05,46,1200,1200,1200,70,"), std::string::npos)
        << outLines()[1];
    EXPECT_NE(outLines()[1].find(",70,,,,,,,45,55,55,55,1500,1500,1500,80,"), std::string::npos)
        << outLines()[1];
}

TEST_F(CtlHistoryFixture, ARunningProgramsRefusalOrGarbageIsAnError) {
    env.running = [](const std::string&) -> std::optional<std::string> {
        return "error no history recorded yet";
    };
    EXPECT_EQ(run({"history"}), 1);
    EXPECT_NE(err.str().find("no history recorded yet"), std::string::npos);
    env.running = [](const std::string&) -> std::optional<std::string> { return "ok 1,garbage"; };
    EXPECT_EQ(run({"history"}), 1);
    EXPECT_NE(err.str().find("no history"), std::string::npos);
    // Nothing recorded in the span: an empty table says so.
    env.running = {};
    clock.now = kNoon + 7200;
    ASSERT_EQ(run({"history"}), 0);
    EXPECT_NE(out.str().find("nothing recorded"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace kestrelon
