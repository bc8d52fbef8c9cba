// SPDX-License-Identifier: GPL-3.0-or-later
// The ways to the history window: `--history` on the command line, which shows it at start, and
// a second start with `--history`, which asks the running program to show its own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include "app/desktop_program.h"
#include "app/history_window.h"
#include "private_session.h"

namespace kestrelon {
namespace {

TEST(HistoryOption, HistoryIsAFlagAmongTheOthers) {
    const struct {
        std::vector<std::string> args;
        bool parsed, history;
    } cases[] = {
        {{}, true, false},
        {{"--history"}, true, true},
        {{"--frame-log", "f.log", "--history"}, true, true},
        {{"--history", "--frame-log"}, false, false},  // the other option's value missing
        {{"--history=yes"}, false, false},
    };
    for (const auto& c : cases) {
        bool help = false;
        std::string why;
        const auto o = ParseDesktopOptions(c.args, true, help, why);
        ASSERT_EQ(o.has_value(), c.parsed) << why;
        if (o) {
            EXPECT_EQ(o->showHistory, c.history);
        }
    }
    EXPECT_NE(DesktopUsage(false).find("--history"), std::string::npos);
}

class HistoryOpenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PrivateSession session{dir};

    DesktopOptions options(bool history) const {
        DesktopOptions o;
        o.simulated = true;
        o.skinDir = std::string(KESTRELON_SKIN_DIR) + "/";
        o.settingsPath = dir.filePath("config/Settings.inf").toStdString();
        o.probeAddress = QUrl("http://127.0.0.1:9/");  // nothing listens there
        o.showHistory = history;
        return o;
    }
};

TEST_F(HistoryOpenTest, WithHistoryTheProgramStartsAndShowsTheWindowWithWhatItRecords) {
    DesktopProgram program(options(true));
    ASSERT_FALSE(program.start().has_value());
    HistoryWindow* window = program.historyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_NE(window->view().message(), std::nullopt) << "nothing read yet at the start";

    // The window reads the program's own recording each second while it is shown.
    QTest::qWait(2600);
    EXPECT_GE(window->view().rows().size(), 2u);
    EXPECT_EQ(window->view().message(), std::nullopt);
    ASSERT_FALSE(window->view().rows().empty());
    EXPECT_TRUE(window->view().rows().back().temperatureC[Channel::Cpu].mean.has_value());
}

TEST_F(HistoryOpenTest, ASecondStartWithHistoryShowsTheRunningProgramsWindowAndEnds) {
    DesktopProgram program(options(false));
    ASSERT_FALSE(program.start().has_value());
    EXPECT_EQ(program.historyWindow(), nullptr);  // nothing made until asked for

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", dir.path());
    second.setProcessEnvironment(env);
    second.start(KESTRELON_BIN_DIR "/kestrelon-demo", {"--history"});
    // The running program answers from this event loop, so wait by running it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    ASSERT_NE(program.historyWindow(), nullptr);
    EXPECT_TRUE(program.historyWindow()->isVisible());

    // Closed, it is hidden and kept; asked again, the same window shows.
    HistoryWindow* first = program.historyWindow();
    first->close();
    EXPECT_FALSE(first->isVisible());
    program.showHistory();
    EXPECT_EQ(program.historyWindow(), first);
    EXPECT_TRUE(first->isVisible());
}

}  // namespace
}  // namespace kestrelon
