// SPDX-License-Identifier: GPL-3.0-or-later
// The hidapi adapter's pieces that need no panel: the sysfs path of a node's report descriptor,
// the open failure texts, and a bus walk on this machine (which has no panel).
#include "device/hidapi_bus.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "device/panel_finder.h"

namespace kestrelon {

TEST(HidapiBus, ReportDescriptorPathOfAHidrawNode) {
    EXPECT_EQ(hidrawDescriptorPath("/dev/hidraw3"),
              "/sys/class/hidraw/hidraw3/device/report_descriptor");
    EXPECT_EQ(hidrawDescriptorPath("/dev/hidraw"), "");
    EXPECT_EQ(hidrawDescriptorPath("/dev/usb/hiddev0"), "");
    EXPECT_EQ(hidrawDescriptorPath("1-2:1.0"), "");
}

TEST(HidapiBus, PermissionProblemSaysHowToGrantAccess) {
    std::string text = openFailureText("/dev/hidraw3", {true, false}, "Permission denied");
    EXPECT_NE(text.find("no permission"), std::string::npos);
    EXPECT_NE(text.find("70-kestrelon.rules"), std::string::npos);
    EXPECT_NE(text.find(kPanelUdevRule), std::string::npos);

    EXPECT_EQ(openFailureText("/dev/hidraw3", {true, true}, "Device busy"),
              "cannot open /dev/hidraw3: Device busy");
    EXPECT_NE(openFailureText("/dev/hidraw9", {false, false}, "x").find("unplugged"),
              std::string::npos);
    EXPECT_FALSE(nodeAccess("/dev/hidraw-not-there").exists);
}

// Every failure is one line; a permission problem names the rule file and how to apply it, and
// once the rule is installed says why it may still not apply.
TEST(HidapiBus, OpenFailureTextsAreOneLineAndNameTheRuleWhenAccessIsDenied) {
    const std::string installed = "/usr/lib/udev/rules.d/70-kestrelon.rules";
    struct Case {
        NodeAccess access;
        const char* libraryError;
        std::string installedRule;
        std::vector<std::string> says;
        std::vector<std::string> never;
    };
    const std::vector<Case> cases = {
        {{true, false},
         "Permission denied",
         "",
         {"no permission", "70-kestrelon.rules", kPanelUdevRule, "/etc/udev/rules.d",
          "udevadm control --reload-rules && udevadm trigger", "plug the panel in again"},
         {"although"}},
        // access(2) may pass where open(2) is still refused: the library's error decides then.
        {{true, true},
         "Failed to open a device with path '/dev/hidraw3': Permission denied",
         "",
         {"no permission", "70-kestrelon.rules", "udevadm trigger"},
         {}},
        {{true, false},
         "Permission denied",
         installed,
         {"no permission", installed, "the user logged in at the seat", "udevadm trigger"},
         {kPanelUdevRule}},
        {{true, true},
         "Device busy",
         installed,
         {"cannot open /dev/hidraw3: Device busy"},
         {"70-kestrelon.rules"}},
        {{false, false}, "Permission denied", "", {"unplugged"}, {"70-kestrelon.rules"}},
    };
    for (const Case& c : cases) {
        const std::string text =
            openFailureText("/dev/hidraw3", c.access, c.libraryError, c.installedRule);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        for (const std::string& part : c.says)
            EXPECT_NE(text.find(part), std::string::npos) << part;
        for (const std::string& part : c.never)
            EXPECT_EQ(text.find(part), std::string::npos) << part;
    }
}

TEST(HidapiBus, InstalledRuleIsTheFirstRegularFileOfThatNameInUdevsFolders) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("kestrelon-rules-" + std::to_string(getpid()));
    fs::remove_all(root);
    for (const char* folder : {"etc", "run", "usr"}) fs::create_directories(root / folder);
    const std::vector<std::string> folders = {root / "etc", root / "run", root / "usr"};
    EXPECT_EQ(installedUdevRule(folders), "");

    fs::create_directory(root / "etc" / kPanelUdevRuleFile);  // a folder of that name is no rule
    std::ofstream(root / "usr" / kPanelUdevRuleFile) << kPanelUdevRule << "\n";
    EXPECT_EQ(installedUdevRule(folders), (root / "usr" / kPanelUdevRuleFile).string());
    std::ofstream(root / "run" / kPanelUdevRuleFile) << kPanelUdevRule << "\n";
    EXPECT_EQ(installedUdevRule(folders), (root / "run" / kPanelUdevRuleFile).string());
    fs::remove_all(root);

    const std::vector<std::string> real = udevRuleFolders();
    EXPECT_EQ(real.front(), "/etc/udev/rules.d");
    EXPECT_NE(std::find(real.begin(), real.end(), "/usr/local/lib/udev/rules.d"), real.end());
}

TEST(HidapiBus, ShippedUdevRuleIsTheOneTheMessageNames) {
    std::string source = __FILE__;  // .../tests/device/hidapi_bus_test.cpp
    std::string root = source.substr(0, source.rfind("/tests/"));
    FILE* file = std::fopen((root + "/device/70-kestrelon.rules").c_str(), "r");
    ASSERT_NE(file, nullptr);
    std::string rules;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, file)) rules += chunk;
    std::fclose(file);
    EXPECT_NE(rules.find(std::string(kPanelUdevRule) + "\n"), std::string::npos);
}

TEST(HidapiBus, WalkOnThisMachineOpensOnlyPanels) {
    HidapiBus bus;
    for (const HidDeviceInfo& info : bus.enumerate()) {
        EXPECT_EQ(info.vendor_id, kPanelVendorId);
        EXPECT_EQ(info.product_id, kPanelProductId);
    }
    HidDeviceInfo missing;
    missing.path = "/dev/hidraw-not-there";
    std::string error;
    EXPECT_EQ(bus.open(missing, error), nullptr);
    EXPECT_NE(error.find("/dev/hidraw-not-there"), std::string::npos);
}

}  // namespace kestrelon
