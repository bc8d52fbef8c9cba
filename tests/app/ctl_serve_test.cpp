// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl serve's command line: what it hands to the service, and what it refuses.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "app/ctl.h"
#include "core/timing.h"
#include "device/transport.h"

namespace kestrelon {
namespace {

struct NoPanelBus final : HidBus {
    std::vector<HidDeviceInfo> enumerate() override { return {}; }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string& error) override {
        error = "no panel";
        return nullptr;
    }
};

TEST(CtlServe, HandsItsOptionsToTheServiceOrRefusesInOneLine) {
    QTemporaryDir dir;
    NoPanelBus bus;
    VirtualTime time{9 * 3600};
    const std::string settingsPath = dir.filePath("Settings.inf").toStdString();
    CtlEnvironment env{bus, time, time, settingsPath, "", {}, {}, "", {}, {}, {}};
    std::ostringstream out, err;
    const auto run = [&](const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return RunCtl(args, env, out, err);
    };
    std::vector<ServeOptions> served;
    env.historyDir = dir.filePath("history").toStdString();
    env.options.sensorName[Channel::Cpu] = "Die";
    const std::string other = dir.filePath("other.inf").toStdString();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string error;  // part of the one error line; empty: served
        bool simulated = false;
        std::string frameLog, settings;
    } cases[] = {
        {{"serve"}, 0, "", false, "", settingsPath},
        {{"--simulated", "serve", "--frame-log", "f.log", "--file", other},
         0,
         "",
         true,
         "f.log",
         other},
        {{"serve", "now"}, 2, "serve takes only", false, "", ""},
        {{"--trace", "serve"}, 2, "serve takes only", false, "", ""},
        {{"serve", "--frame-log"}, 2, "--frame-log needs a path", false, "", ""},
        {{"serve", "--file", dir.path().toStdString()},
         1,
         "cannot read settings file",
         false,
         "",
         ""},
    };
    env.serve = [&served](const ServeOptions& o) {
        served.push_back(o);
        return 0;
    };
    for (const auto& c : cases) {
        served.clear();
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(run(c.args), c.status) << what << ": " << err.str();
        if (c.error.empty()) {
            ASSERT_EQ(served.size(), 1u) << what;
            EXPECT_EQ(served[0].simulated, c.simulated) << what;
            EXPECT_EQ(served[0].frameLog, c.frameLog) << what;
            EXPECT_EQ(served[0].settingsPath, c.settings) << what;
            EXPECT_EQ(served[0].historyDir, env.historyDir) << what;
            EXPECT_EQ(served[0].options.sensorName[Channel::Cpu], "Die") << what;
        } else {
            EXPECT_TRUE(served.empty()) << what;
            EXPECT_NE(err.str().find(c.error), std::string::npos) << what << ": " << err.str();
        }
    }
    env.serve = nullptr;
    EXPECT_EQ(run({"serve"}), 1);
    EXPECT_NE(err.str().find("serve is not available"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace kestrelon
