// The hidapi adapter's pieces that need no panel: the sysfs path of a node's report descriptor,
// the open failure texts, and a bus walk on this machine (which has no panel).
#include "device/hidapi_bus.h"

#include <gtest/gtest.h>

#include <cstdio>

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
