// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl metrics: the running program's exposition unfolded line for line, the simulated
// panel's readings without one, no panel as kestrelon_up 0, and the textfile written in one step.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/control_request.h"
#include "app/ctl.h"

namespace kestrelon {
namespace {

struct NoPanels final : HidBus {
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string&) override { return {}; }
};

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(CtlMetrics, PrintsOrWritesTheExpositionFromWhereverItComesFrom) {
    QTemporaryDir dir;
    NoPanels bus;
    VirtualTime time{9 * 3600};
    const std::string settingsPath = dir.filePath("Settings.inf").toStdString();
    std::ofstream(settingsPath) << "[settings]\r\nst1=61\r\nauto=0\r\nmsf1=2100\r\n";
    CtlEnvironment env{bus, time, time, settingsPath, "", {}, {}, "", {}, {}, {}};
    env.options.sensorName[Channel::Cpu] = "Die \"0\"";
    const std::string running = "# HELP kestrelon_up x\nkestrelon_up 1\nname=\"a\\\\b\"\n";

    const std::string textfile = dir.filePath("prom/kestrelon.prom").toStdString();
    struct Case {
        const char* what;
        std::vector<std::string> args;
        bool programRuns;
        std::vector<std::string> has;  // in what is printed or written
    };
    const Case cases[] = {
        {"through the running program", {"metrics"}, true, {running}},
        {"no program, no panel",
         {"metrics"},
         false,
         {"kestrelon_up 0\n", "kestrelon_info{version=\"", "panel=\"\"} 1\n",
          "kestrelon_temperature_limit_celsius{sensor=\"cpu\",name=\"Die \\\"0\\\"\"} 61\n",
          "kestrelon_fan_target_rpm{fan=\"cpu\",name=\"Die \\\"0\\\"\"} 2100\n",
          "kestrelon_fan_manual 1\n"}},
        {"the simulated panel",
         {"--simulated", "metrics"},
         true,
         {"kestrelon_up 1\n", "kestrelon_temperature_celsius{sensor=\"cpu\"",
          "kestrelon_fan_speed_rpm{fan=\"case\"", "kestrelon_fan_limit_rpm{fan=\"cpu\""}},
        {"a textfile", {"metrics", "--textfile", textfile}, true, {running}},
    };
    for (const Case& c : cases) {
        int asked = 0;
        env.running = [&](const std::string& request) -> std::optional<std::string> {
            ++asked;
            EXPECT_EQ(request, "metrics");
            if (!c.programRuns) return std::nullopt;
            return "ok " + FoldLines(running);
        };
        std::ostringstream out, err;
        EXPECT_EQ(RunCtl(c.args, env, out, err), 0) << c.what << ": " << err.str();
        const bool toFile = c.args.size() > 1 && c.args[1] == "--textfile";
        const std::string text = toFile ? fileText(textfile) : out.str();
        if (toFile) {
            EXPECT_EQ(out.str(), "") << c.what;
        }
        for (const std::string& part : c.has)
            EXPECT_NE(text.find(part), std::string::npos) << c.what << " lacks " << part << "\n"
                                                          << text;
        EXPECT_EQ(asked, c.args.front() == "--simulated" ? 0 : 1) << c.what;
    }

    // A textfile that cannot be written: one line, exit 1, nothing printed.
    std::ostringstream out, err;
    env.running = [&](const std::string&) { return std::optional<std::string>("ok x"); };
    EXPECT_EQ(RunCtl({"metrics", "--textfile", settingsPath + "/x.prom"}, env, out, err), 1);
    const std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(out.str(), "");
}

TEST(ControlAnswers, FoldedLinesUnfoldToTheSameText) {
    const std::string texts[] = {"", "one line", "two\nlines\n", "back\\slash\\n not a newline",
                                 "\\\n\\\\n\n\n"};
    for (const std::string& text : texts) {
        const std::string folded = FoldLines(text);
        EXPECT_EQ(folded.find('\n'), std::string::npos) << text;
        EXPECT_EQ(UnfoldLines(folded), text);
    }
}

}  // namespace
}  // namespace kestrelon
