// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelon.conf: every key read into its field, and every kind of bad value left at the
// default with one log line naming the key and the value.
#include "settings/options_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "core/log.h"
#include "settings_test_files.h"

namespace kestrelon {
namespace {

using testing_files::ScratchDir;
using testing_files::WriteBytes;

struct OptionsCase {
    const char* name;
    const char* text;                      // the file; nullptr: there is none
    std::function<void(Options&)> expect;  // the defaults changed as the file says
    const char* log;                       // what the one log line holds; "": no line
};

const OptionsCase kCases[] = {
    {"no file", nullptr, [](Options&) {}, ""},
    {"an empty file", "", [](Options&) {}, ""},
    {"every key",
     "[sensors]\ncpu=Processor\nhdd = Disks \nvga=Graphics\ncase=Box\n"
     "[history]\ndays=30\n"
     "[alerts]\ndelay=2.5\nhysteresis=1\ncommand=/usr/bin/logger -t kestrelon\n"
     "[metrics]\nlisten=127.0.0.1:9101\ntextfile=/var/lib/node/kestrelon.prom\n",
     [](Options& o) {
         o.sensorName[Channel::Cpu] = "Processor";
         o.sensorName[Channel::Hdd] = "Disks";
         o.sensorName[Channel::Vga] = "Graphics";
         o.sensorName[Channel::Case] = "Box";
         o.historyDays = 30;
         o.alertDelaySeconds = 2.5;
         o.alertHysteresisC = 1;
         o.alertCommand = "/usr/bin/logger -t kestrelon";
         o.metricsListen = "127.0.0.1:9101";
         o.metricsTextfile = "/var/lib/node/kestrelon.prom";
     },
     ""},
    {"limits of the ranges", "[history]\ndays=3650\n[alerts]\ndelay=0\nhysteresis=0\n",
     [](Options& o) {
         o.historyDays = 3650;
         o.alertDelaySeconds = 0;
         o.alertHysteresisC = 0;
     },
     ""},
    {"a command with quotes stands in quotes",
     "[alerts]\ncommand=\"/usr/bin/logger -t \\\"kestrelon alert\\\"\"\n",
     [](Options& o) { o.alertCommand = "/usr/bin/logger -t \"kestrelon alert\""; }, ""},
    {"an IPv6 address", "[metrics]\nlisten=\"[::1]:9101\"\n",
     [](Options& o) { o.metricsListen = "[::1]:9101"; }, ""},
    {"days not a number", "[history]\ndays=many\n", [](Options&) {}, "[history] days=many ignored"},
    {"days not whole", "[history]\ndays=7.5\n", [](Options&) {}, "[history] days=7.5 ignored"},
    {"days zero", "[history]\ndays=0\n", [](Options&) {}, "[history] days=0 ignored"},
    {"a negative delay", "[alerts]\ndelay=-1\n", [](Options&) {}, "[alerts] delay=-1 ignored"},
    {"a delay of an hour and more", "[alerts]\ndelay=3601\n", [](Options&) {},
     "[alerts] delay=3601 ignored"},
    {"a delay that is no number", "[alerts]\ndelay=5s\n", [](Options&) {},
     "[alerts] delay=5s ignored"},
    {"hysteresis out of range", "[alerts]\nhysteresis=51\n", [](Options&) {},
     "[alerts] hysteresis=51 ignored"},
    {"hysteresis not finite", "[alerts]\nhysteresis=nan\n", [](Options&) {},
     "[alerts] hysteresis=nan ignored"},
    {"an empty name", "[sensors]\ncpu=\n", [](Options&) {}, "[sensors] cpu= ignored"},
    {"a blank name", "[sensors]\nvga=\"   \"\n", [](Options&) {}, "[sensors] vga=    ignored"},
    {"a name too long", "[sensors]\nhdd=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefg\n", [](Options&) {},
     "[sensors] hdd=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefg ignored"},
    {"an unquoted comma", "[sensors]\ncase=Front,Back\n", [](Options&) {},
     "[sensors] case=Front,Back ignored"},
    {"a command of blanks in quotes", "[alerts]\ncommand=\"  \\\"\\\" \"\n", [](Options&) {},
     "[alerts] command="},
    {"a port out of range", "[metrics]\nlisten=127.0.0.1:70000\n", [](Options&) {},
     "[metrics] listen=127.0.0.1:70000 ignored"},
    {"no port", "[metrics]\nlisten=localhost\n", [](Options&) {},
     "[metrics] listen=localhost ignored"},
    {"a relative textfile", "[metrics]\ntextfile=kestrelon.prom\n", [](Options&) {},
     "[metrics] textfile=kestrelon.prom ignored"},
    {"an unknown key", "[alerts]\ndealy=5\n", [](Options&) {}, "unknown key [alerts] dealy"},
    {"a key in the wrong section", "[history]\ndelay=5\n", [](Options&) {},
     "unknown key [history] delay"},
    {"a key before any section", "days=5\n", [](Options&) {}, "unknown key days ignored"},
    {"a bad value leaves the good ones", "[alerts]\ndelay=x\nhysteresis=2\n",
     [](Options& o) { o.alertHysteresisC = 2; }, "[alerts] delay=x ignored"},
};

TEST(OptionsFile, EachKeyAndEachBadValue) {
    for (const OptionsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string path = (dir / "kestrelon.conf").string();
        if (c.text) WriteBytes(path, c.text);
        ForgetLoggedLines();
        ::testing::internal::CaptureStderr();
        const Options read = LoadOptions(path);
        const std::string log = ::testing::internal::GetCapturedStderr();

        Options expected;
        c.expect(expected);
        EXPECT_EQ(read, expected);
        if (*c.log == '\0') {
            EXPECT_EQ(log, "");
        } else {
            EXPECT_NE(log.find(c.log), std::string::npos) << log;
            EXPECT_NE(log.find(path), std::string::npos) << log;
            EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
        }
    }
}

TEST(OptionsFile, LivesBesideTheSettingsFileInTheConfigurationDirectory) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(DefaultOptionsPath(), "/somewhere/config/kestrelon/kestrelon.conf");
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(DefaultOptionsPath(), std::string(home) + "/.config/kestrelon/kestrelon.conf");
    }
    if (saved) setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
}

}  // namespace
}  // namespace kestrelon
