// SPDX-License-Identifier: GPL-3.0-or-later
// The exposition against whole golden texts: a panel with readings, one with missing readings,
// no panel at all, and names that need escaping; and every one of them passes promtool's check
// when promtool is installed.
#include "metrics/exposition.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace kestrelon {
namespace {

MetricsInput panelWithReadings() {
    MetricsInput in;
    in.version = "1.2.3";
    in.panel = "/dev/hidraw3";
    in.sensorName.values = {"CPU", "HDD", "VGA", "Case"};
    in.sample.panelPresent = true;
    in.sample.temperatureC.values = {45.0, 38.0, 52.5, 31.0};
    in.sample.fanRpm.values = {1450, 0, 1020, 1900};
    in.sample.fanLimitRpm.values = {2400, 2000, 1600, 3000};
    in.sample.limitC.values = {70, 50, 80, 45};
    in.sample.fanTargetRpm.values = {1200, 1100, 1000, 1500};
    in.sample.fanMode = FanMode::Automatic;
    return in;
}

const char* const kHeader = R"(# HELP kestrelon_up 1 while the panel answers, 0 otherwise.
# TYPE kestrelon_up gauge
)";

TEST(Exposition, GoldenTexts) {
    struct Case {
        const char* what;
        MetricsInput input;
        std::string golden;
    };
    std::vector<Case> cases;

    cases.push_back({"a panel with readings", panelWithReadings(), std::string(kHeader) + R"(kestrelon_up 1
# HELP kestrelon_info The program's version and the panel it reads.
# TYPE kestrelon_info gauge
kestrelon_info{version="1.2.3",panel="/dev/hidraw3"} 1
# HELP kestrelon_temperature_celsius The sensor's temperature.
# TYPE kestrelon_temperature_celsius gauge
kestrelon_temperature_celsius{sensor="cpu",name="CPU"} 45
kestrelon_temperature_celsius{sensor="hdd",name="HDD"} 38
kestrelon_temperature_celsius{sensor="vga",name="VGA"} 52.5
kestrelon_temperature_celsius{sensor="case",name="Case"} 31
# HELP kestrelon_temperature_limit_celsius The sensor's temperature limit.
# TYPE kestrelon_temperature_limit_celsius gauge
kestrelon_temperature_limit_celsius{sensor="cpu",name="CPU"} 70
kestrelon_temperature_limit_celsius{sensor="hdd",name="HDD"} 50
kestrelon_temperature_limit_celsius{sensor="vga",name="VGA"} 80
kestrelon_temperature_limit_celsius{sensor="case",name="Case"} 45
# HELP kestrelon_fan_speed_rpm The fan's speed.
# TYPE kestrelon_fan_speed_rpm gauge
kestrelon_fan_speed_rpm{fan="cpu",name="CPU"} 1450
kestrelon_fan_speed_rpm{fan="hdd",name="HDD"} 0
kestrelon_fan_speed_rpm{fan="vga",name="VGA"} 1020
kestrelon_fan_speed_rpm{fan="case",name="Case"} 1900
# HELP kestrelon_fan_limit_rpm The fan's highest speed, as the panel reports it.
# TYPE kestrelon_fan_limit_rpm gauge
kestrelon_fan_limit_rpm{fan="cpu",name="CPU"} 2400
kestrelon_fan_limit_rpm{fan="hdd",name="HDD"} 2000
kestrelon_fan_limit_rpm{fan="vga",name="VGA"} 1600
kestrelon_fan_limit_rpm{fan="case",name="Case"} 3000
# HELP kestrelon_fan_target_rpm The fan speed in force: the set point or the manual speed.
# TYPE kestrelon_fan_target_rpm gauge
kestrelon_fan_target_rpm{fan="cpu",name="CPU"} 1200
kestrelon_fan_target_rpm{fan="hdd",name="HDD"} 1100
kestrelon_fan_target_rpm{fan="vga",name="VGA"} 1000
kestrelon_fan_target_rpm{fan="case",name="Case"} 1500
# HELP kestrelon_fan_manual 1 while the fans run at their manual speeds, 0 in automatic mode.
# TYPE kestrelon_fan_manual gauge
kestrelon_fan_manual 0
)"});

    // Missing readings have no sample; a fan limit not reported yet neither. Alarms once
    // watched: every sensor has one.
    MetricsInput missing = panelWithReadings();
    missing.sample.temperatureC[Channel::Hdd].reset();
    missing.sample.fanRpm[Channel::Vga].reset();
    missing.sample.fanLimitRpm[Channel::Case] = 0;
    missing.temperatureAlarm = PerChannel<bool>{{true, false, false, false}};
    std::string golden = cases[0].golden;
    const auto drop = [&golden](const std::string& line) {
        const std::size_t at = golden.find(line + "\n");
        ASSERT_NE(at, std::string::npos) << line;
        golden.erase(at, line.size() + 1);
    };
    drop("kestrelon_temperature_celsius{sensor=\"hdd\",name=\"HDD\"} 38");
    drop("kestrelon_fan_speed_rpm{fan=\"vga\",name=\"VGA\"} 1020");
    drop("kestrelon_fan_limit_rpm{fan=\"case\",name=\"Case\"} 3000");
    golden.insert(golden.find("# HELP kestrelon_fan_speed_rpm"),
                  R"(# HELP kestrelon_temperature_alarm 1 while the sensor is in alarm.
# TYPE kestrelon_temperature_alarm gauge
kestrelon_temperature_alarm{sensor="cpu",name="CPU"} 1
kestrelon_temperature_alarm{sensor="hdd",name="HDD"} 0
kestrelon_temperature_alarm{sensor="vga",name="VGA"} 0
kestrelon_temperature_alarm{sensor="case",name="Case"} 0
)");
    cases.push_back({"missing readings and alarms", missing, golden});

    // No panel: up 0 and nothing the panel reported, even if the sample still held readings;
    // what the settings say stays. Names that need escaping are escaped.
    MetricsInput none = panelWithReadings();
    none.sample.panelPresent = false;
    none.panel = "";
    none.sample.fanMode = FanMode::Manual;
    none.sensorName.values = {"CPU \"die\"", "C:\\disk", "two\nlines", ""};
    cases.push_back({"no panel, names escaped", none, std::string(kHeader) + R"(kestrelon_up 0
# HELP kestrelon_info The program's version and the panel it reads.
# TYPE kestrelon_info gauge
kestrelon_info{version="1.2.3",panel=""} 1
# HELP kestrelon_temperature_limit_celsius The sensor's temperature limit.
# TYPE kestrelon_temperature_limit_celsius gauge
kestrelon_temperature_limit_celsius{sensor="cpu",name="CPU \"die\""} 70
kestrelon_temperature_limit_celsius{sensor="hdd",name="C:\\disk"} 50
kestrelon_temperature_limit_celsius{sensor="vga",name="two\nlines"} 80
kestrelon_temperature_limit_celsius{sensor="case",name=""} 45
# HELP kestrelon_fan_target_rpm The fan speed in force: the set point or the manual speed.
# TYPE kestrelon_fan_target_rpm gauge
kestrelon_fan_target_rpm{fan="cpu",name="CPU \"die\""} 1200
kestrelon_fan_target_rpm{fan="hdd",name="C:\\disk"} 1100
kestrelon_fan_target_rpm{fan="vga",name="two\nlines"} 1000
kestrelon_fan_target_rpm{fan="case",name=""} 1500
# HELP kestrelon_fan_manual 1 while the fans run at their manual speeds, 0 in automatic mode.
# TYPE kestrelon_fan_manual gauge
kestrelon_fan_manual 1
)"});

    const QString promtool = QStandardPaths::findExecutable("promtool");
    for (const Case& c : cases) {
        const std::string text = Exposition(c.input);
        EXPECT_EQ(text, c.golden) << c.what;
        if (promtool.isEmpty()) continue;
        QProcess check;
        check.start(promtool, {"check", "metrics"});
        check.write(QByteArray::fromStdString(text));
        check.closeWriteChannel();
        ASSERT_TRUE(check.waitForFinished(30000)) << c.what;
        EXPECT_EQ(check.exitCode(), 0) << c.what << ": " << check.readAll().toStdString();
    }
    if (promtool.isEmpty()) {
        if (qEnvironmentVariableIsSet("CI")) FAIL() << "promtool is missing (scripts/test installs it)";
        GTEST_SKIP() << "promtool is not installed: texts checked, format not";
    }
}

}  // namespace
}  // namespace kestrelon
