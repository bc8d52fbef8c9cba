// SPDX-License-Identifier: GPL-3.0-or-later
// A panel that is there but may not be opened: every command that needs it says so in one line
// that names the udev rule file, with the text the hidapi bus gives for a refused node.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "app/ctl.h"
#include "device/hidapi_bus.h"
#include "tests/support/fakes.h"

namespace kestrelon {
namespace {

// Fails every open the way HidapiBus does for a node the user may not read and write.
struct RefusingBus final : HidBus {
    std::vector<HidDeviceInfo> enumerate() override {
        return {{"/dev/hidraw7", kPanelVendorId, kPanelProductId, 0x100, "", ""}};
    }
    std::unique_ptr<Transport> open(const HidDeviceInfo& d, std::string& error) override {
        error = openFailureText(d.path, {true, false}, "Permission denied");
        return nullptr;
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TEST(PanelAccessMessage, EveryCommandThatNeedsThePanelSaysSoInOneLineNamingTheRule) {
    QTemporaryDir dir;
    RefusingBus bus;
    VirtualTime time{8 * 3600};
    const std::string settings = dir.filePath("Settings.inf").toStdString();
    CtlEnvironment env{bus, time, time, settings, "", {}, {}, "", {}, {}, {}};
    const std::vector<std::vector<std::string>> commands = {
        {"status"}, {"--trace", "status", "--json"}, {"watch", "--count", "1"}};
    for (const auto& command : commands) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCtl(command, env, out, err), 1);
        SCOPED_TRACE(command.front() + ": " + err.str());
        const auto errLines = lines(err.str());
        ASSERT_EQ(errLines.size(), 1u);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(errLines[0].rfind("kestrelon: cannot open panel /dev/hidraw7: no permission", 0),
                  0u);
        EXPECT_NE(errLines[0].find("70-kestrelon.rules"), std::string::npos);
    }

    std::ostringstream out, err;
    EXPECT_EQ(RunCtl({"list"}, env, out, err), 0);
    ASSERT_EQ(lines(out.str()).size(), 1u) << out.str();
    EXPECT_NE(out.str().find("cannot open: no permission"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("70-kestrelon.rules"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace kestrelon
