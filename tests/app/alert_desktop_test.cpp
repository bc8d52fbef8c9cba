// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop side of the alerts: the alert command run without a shell with the change in its
// environment, and the tray icon's alarm mark.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "app/alert_command.h"
#include "app/tray_alarm_icon.h"
#include "core/log.h"

namespace kestrelon {
namespace {

// Waits (at most 5 s) for a file the started command writes.
QByteArray waitForFile(const QString& path) {
    for (int i = 0; i < 100 && !QFile::exists(path); ++i) QTest::qWait(50);
    QTest::qWait(100);  // written whole
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(AlertCommand, RunsWithoutAShellWithTheChangeInItsEnvironment) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const AlertChange change{Channel::Vga, AlertKind::Temperature, AlertState::Alarm, 61.5, 60};

    // A blank, a semicolon and a dollar in a quoted argument reach the program as they are.
    const QString odd = dir.filePath("a b;c $HOME");
    ASSERT_TRUE(RunAlertCommand("/usr/bin/touch \"" + odd.toStdString() + "\"", change, "GPU"));
    waitForFile(odd);
    EXPECT_TRUE(QFile::exists(odd));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // A shell the user names is the user's: it sees the variables.
    const QString out = dir.filePath("environment");
    ASSERT_TRUE(RunAlertCommand("/bin/sh -c \"env > '" + out.toStdString() + "'\"", change, "GPU"));
    const QByteArray env = waitForFile(out);
    for (const char* line : {"KESTRELON_ALERT_SENSOR=vga\n", "KESTRELON_ALERT_NAME=GPU\n",
                             "KESTRELON_ALERT_KIND=temperature\n", "KESTRELON_ALERT_STATE=alarm\n",
                             "KESTRELON_ALERT_VALUE=61.5\n", "KESTRELON_ALERT_LIMIT=60\n",
                             "KESTRELON_ALERT_UNIT=celsius\n"})
        EXPECT_TRUE(env.contains(line)) << line << "\n" << env.toStdString();
}

TEST(AlertCommand, AProgramThatCannotStartIsOneLogLine) {
    ForgetLoggedLines();
    ::testing::internal::CaptureStderr();
    const AlertChange change{Channel::Cpu, AlertKind::Fan, AlertState::Alarm, 0, 0};
    EXPECT_FALSE(RunAlertCommand("/nonexistent/alert-program --now", change, "CPU"));
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("cannot start the alert command /nonexistent/alert-program"),
              std::string::npos)
        << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

TEST(TrayAlarmIcon, RedMarkInTheLowerRightCornerOnly) {
    for (int side : {16, 24, 32, 64}) {
        SCOPED_TRACE(side);
        QImage icon(side, side, QImage::Format_ARGB32);
        icon.fill(qRgb(0x20, 0x60, 0xA0));
        const QImage marked = AlarmIconPicture(icon);
        ASSERT_EQ(marked.size(), icon.size());
        const QColor centre = marked.pixelColor(side * 3 / 4, side * 3 / 4);
        EXPECT_GT(centre.red(), 200);
        EXPECT_LT(centre.green(), 40);
        EXPECT_LT(centre.blue(), 40);
        // The upper left quarter and the other corners keep the icon's pixels.
        for (QPoint p :
             {QPoint(0, 0), QPoint(side / 4, side / 4), QPoint(side - 1, 0), QPoint(0, side - 1)})
            EXPECT_EQ(marked.pixel(p), icon.pixel(p)) << p.x() << "," << p.y();
    }
    QIcon plain(QPixmap::fromImage(QImage(32, 32, QImage::Format_ARGB32)));
    EXPECT_FALSE(AlarmIcon(plain).isNull());
}

}  // namespace
}  // namespace kestrelon
