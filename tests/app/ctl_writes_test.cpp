// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl against a panel that takes no write: push and set never report a write as done.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/ctl.h"
#include "device/transport.h"

namespace kestrelon {
namespace {

// A bus with one panel that answers every read with zeros and whose writes all fail.
struct DeafPanelBus final : HidBus {
    struct Deaf final : Transport {
        int write(std::span<const uint8_t>) override { return -1; }
        int getFeatureReport(std::span<uint8_t> buffer) override {
            std::fill(buffer.begin(), buffer.end(), 0);
            return static_cast<int>(buffer.size());
        }
        ReportLengths reportLengths() const override { return {9, 9, 9}; }
    };
    std::vector<HidDeviceInfo> enumerate() override {
        return {{"/dev/hidraw5", kPanelVendorId, kPanelProductId, 0x100, "", ""}};
    }
    std::unique_ptr<Transport> open(const HidDeviceInfo&, std::string&) override {
        return std::make_unique<Deaf>();
    }
};

// A write the panel did not take is never reported as done: push and set say which registers
// were not written and exit non-zero; set still saves, so the next full push sends the value.
TEST(CtlWrites, AFailedWriteIsNamedAndExitsNonZero) {
    QTemporaryDir dir;
    DeafPanelBus bus;
    VirtualTime time{9 * 3600};
    const std::string settingsPath = dir.filePath("Settings.inf").toStdString();
    std::ofstream(settingsPath) << "[settings]\r\nst1=60\r\nfst1=140\r\ncolor=2\r\nauto=1\r\n"
                                   "alarm=07:00\r\nsf1=480\r\nsf2=400\r\nsf3=320\r\nsf4=600\r\n"
                                   "msf1=2400\r\nmsf2=2000\r\nmsf3=1600\r\nmsf4=3000\r\n";
    CtlEnvironment env{bus, time, time, settingsPath, "", {}, {}, "", {}, {}, {}};
    const struct {
        std::vector<std::string> args;
        std::string notWritten;  // in the one error line
        std::string fileHas;     // after the command
    } cases[] = {
        {{"push"},
         "REG29 not written: the write to the panel failed; REG20 not written",
         "color=2"},
        {{"set", "color=red"}, "REG29 not written: the write to the panel failed", "color=1"},
        {{"set", "st1=61"}, "REG20 not written: the write to the panel failed; REG21", "st1=61"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCtl(c.args, env, out, err), 1) << c.args.front() << ": " << out.str();
        const std::string error = err.str();
        EXPECT_NE(error.find(c.notWritten), std::string::npos) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
        EXPECT_EQ(out.str().find("pushed"), std::string::npos) << out.str();
        std::ifstream file(settingsPath);
        const std::string text((std::istreambuf_iterator<char>(file)), {});
        EXPECT_NE(text.find(c.fileHas), std::string::npos) << c.args.back();
    }
}

}  // namespace
}  // namespace kestrelon
