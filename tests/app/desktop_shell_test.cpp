// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop shell offscreen: event translation, start-up on the simulated panel, clicks reaching
// the controls through real widget events, and the confirmed exit leaving the panel alone.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/desktop_program.h"
#include "app/main_window.h"
#include "private_session.h"
#include "settings/settings_file.h"

namespace kestrelon {
namespace {

TEST(DesktopShell, ButtonsAndModifiersTranslateToTheControlsMasks) {
    EXPECT_EQ(ButtonMask(Qt::LeftButton), 1);
    EXPECT_EQ(ButtonMask(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(ButtonMask(Qt::MiddleButton), 4);
    EXPECT_EQ(ButtonMask(Qt::BackButton), 0);
    const struct {
        Qt::KeyboardModifiers held;
        int key;
        bool pressed;
        int mask;
    } keys[] = {
        {Qt::ControlModifier, Qt::Key_Alt, true, kCtrlMask | kAltMask},  // the key being pressed
        {Qt::NoModifier, Qt::Key_Control, true, kCtrlMask},
        {Qt::ControlModifier | Qt::AltModifier, Qt::Key_Alt, false, kCtrlMask},
        {Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, Qt::Key_A, true,
         kCtrlMask | kAltMask | kShiftMask},
        {Qt::AltModifier, Qt::Key_AltGr, true, kAltMask},
    };
    for (const auto& k : keys)
        EXPECT_EQ(ModifierMask(ModifiersWithKey(k.held, k.key, k.pressed)), k.mask) << k.key;
}

// At a display scale of 2 a press arrives rounded to whole logical pixels; the pixel the pointer
// is found on corrects it only within that rounding. Further off, the press was handled after
// the pointer had moved on (a drag's first move already under way), and the event's own pixel
// holds: the grab point of a drag must be where the button went down.
TEST(DesktopShell, APressIsCorrectedToThePointersPixelOnlyWithinTheRounding) {
    const struct {
        std::optional<QPoint> found;
        QPoint pressed;
    } cases[] = {
        {std::nullopt, {600, 10}},  // not X11, or a scale of 1
        {QPoint(600, 10), {600, 10}},
        {QPoint(599, 9), {599, 9}},  // second physical pixels rounded up to the next skin pixel
        {QPoint(599, 10), {599, 10}},
        {QPoint(590, 18), {600, 10}},  // moved on by a drag's first step
        {QPoint(598, 10), {600, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PressPixel(QPoint(600, 10), c.found), c.pressed)
            << (c.found ? c.found->x() : -1) << "," << (c.found ? c.found->y() : -1);
}

class DesktopProgramTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PrivateSession session{dir};

    DesktopOptions options() const {
        DesktopOptions o;
        o.simulated = true;
        o.skinDir = std::string(KESTRELON_SKIN_DIR) + "/";
        o.settingsPath = dir.filePath("config/Settings.inf").toStdString();
        o.frameLog = dir.filePath("frames.log").toStdString();
        o.probeAddress = QUrl("http://127.0.0.1:9/");  // nothing listens there
        return o;
    }
    std::vector<std::string> frames() const {
        std::ifstream in(dir.filePath("frames.log").toStdString());
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    static void settle(int ms) { QTest::qWait(ms); }
};

TEST_F(DesktopProgramTest, AFirstStartShowsTheWindowWithoutATrayAndPushesFactoryValues) {
    DesktopProgram program(options());
    ASSERT_FALSE(program.start().has_value());
    EXPECT_TRUE(program.window().isVisible());  // the offscreen platform has no tray
    EXPECT_EQ(program.window().size(), QSize(660, 441));
    EXPECT_TRUE(program.state().panel.present);
    EXPECT_EQ(program.state().poll.shownMinute.size(),
              5u);  // the clock is right before the first tick

    MonitorState saved;
    LoadSettings(saved.settings, options().settingsPath);
    EXPECT_EQ(saved.settings.limitCelsius[Channel::Cpu], 65);
    EXPECT_EQ(saved.settings.manualFanSpeed[Channel::Cpu], 2400);

    const std::vector<std::string> log = frames();
    ASSERT_FALSE(log.empty());
    for (const std::string& line : log)
        EXPECT_TRUE(line.rfind("> 00 ", 0) == 0 || line.rfind("< 00 ", 0) == 0) << line;
    EXPECT_EQ(log.front().substr(0, 7), "> 00 1D");  // the fan limits are read before the push
}

TEST_F(DesktopProgramTest, RealPointerEventsReachTheControls) {
    DesktopProgram program(options());
    ASSERT_FALSE(program.start().has_value());
    MainWindow& w = program.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // A move without a button goes through the platform's queue. When a poll cycle is due, its
    // panel exchange holds user input until it is over: the move arrives a moment later.
    const auto cursorBecomes = [&](CursorKind kind) {
        return QTest::qWaitFor([&] { return program.state().ui.cursor == kind; }, 3000);
    };
    QTest::mouseMove(&w, QPoint(120, 120));
    EXPECT_TRUE(cursorBecomes(CursorKind::Hand));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(120, 120));
    EXPECT_TRUE(program.state().ui.upperLeftWingOpen);
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);  // our own cursor file
    QTest::mouseMove(&w, QPoint(300, 400));
    EXPECT_TRUE(cursorBecomes(CursorKind::Arrow));

    QTest::keyPress(&w, Qt::Key_Control);
    QTest::keyPress(&w, Qt::Key_Alt, Qt::ControlModifier);
    EXPECT_TRUE(program.state().ui.resetArmed);
    w.hide();  // hiding disarms the reset spot
    EXPECT_FALSE(program.state().ui.resetArmed);
}

// A pointer that runs ahead of the window has left the grab corner by the time its move
// arrives (the event's position is where it was on the window as it stood): the window still
// follows it, up to the release and no further.
TEST_F(DesktopProgramTest, ADraggedWindowFollowsThePointerOutOfTheGrabCornerUntilTheRelease) {
    DesktopProgram program(options());
    ASSERT_FALSE(program.start().has_value());
    MainWindow& w = program.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.pos(), grab(600, 10);  // in the upper grab corner
    QCursor::setPos(start + grab);
    QTest::mousePress(&w, Qt::LeftButton, {}, grab);
    struct Step {
        QPoint pointer;  // the pointer's travel from the press
        QPoint seenAt;   // where the move event says it is on the window
    };
    const Step steps[] = {
        {{-10, 8}, {590, 18}},   // a move inside the corner starts the drag
        {{-60, 48}, {540, 58}},  // the window a few moves behind: outside the corner
        {{-120, 96}, {590, 18}},
    };
    for (const Step& s : steps) {
        QCursor::setPos(start + grab + s.pointer);
        QTest::mouseMove(&w, s.seenAt);
        EXPECT_EQ(w.pos(), start + s.pointer) << s.pointer.x();
    }
    // The last move before the release never arrives: the window still ends where the button
    // was let go.
    QCursor::setPos(start + grab + QPoint(-150, 120));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(570, 34));
    EXPECT_EQ(w.pos(), start + QPoint(-150, 120));
    QCursor::setPos(start + grab + QPoint(-200, 200));
    QTest::mouseMove(&w, QPoint(500, 200));
    EXPECT_EQ(w.pos(), start + QPoint(-150, 120));  // released: it stays
}

TEST_F(DesktopProgramTest, KestrelonctlSetGoesThroughTheRunningProgramAndItsWindowFollows) {
    DesktopProgram program(options());
    ASSERT_FALSE(program.start().has_value());
    const auto ctl = [](QStringList args, QString& out) {
        QProcess p;
        p.start(KESTRELON_BIN_DIR "/kestrelonctl", args);
        // The running program answers from this event loop, so wait by running it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 15000));
        out = p.readAllStandardOutput() + p.readAllStandardError();
        return p.exitCode();
    };
    QString out;
    program.state().ui.lowerLeftWingOpen = true;
    EXPECT_EQ(ctl({"set", "auto=manual", "msf1=1300"}, out), 0) << out.toStdString();
    EXPECT_FALSE(program.state().settings.fansAutomatic());
    EXPECT_EQ(program.state().settings.manualFanSpeed[Channel::Cpu], 1300);
    MonitorState saved;
    LoadSettings(saved.settings, options().settingsPath);
    EXPECT_EQ(saved.settings.manualFanSpeed[Channel::Cpu], 1300);
    EXPECT_TRUE(out.contains("pushed 2 register(s)")) << out.toStdString();  // 0x2B and 0x29

    EXPECT_EQ(ctl({"set", "msf1=1000"}, out), 1);  // below half of fan 1's limit, 2400
    EXPECT_EQ(program.state().settings.manualFanSpeed[Channel::Cpu], 1300);
    EXPECT_EQ(ctl({"watch", "--json", "--count", "1"}, out), 0);
    EXPECT_TRUE(out.startsWith("{\"time\"")) << out.toStdString();
}

TEST_F(DesktopProgramTest, EachPollIsRecordedAndKestrelonctlHistoryReadsItThroughTheProgram) {
    const std::filesystem::path files = dir.filePath("state/kestrelon/history").toStdString();
    {
        DesktopProgram program(options());
        ASSERT_FALSE(program.start().has_value());
        settle(3500);
        ASSERT_NE(program.history(), nullptr);
        const int64_t now = SystemUtcClock().utcSeconds();
        const HistoryRows rows = program.history()->range(now - 60, now);
        ASSERT_GE(rows.size(), 2u);
        for (const HistoryRow& row : rows) {
            EXPECT_EQ(row.spanSeconds, 1);
            EXPECT_EQ(row.limitC, program.state().settings.limitCelsius);
        }
        EXPECT_TRUE(rows.back().temperatureC[Channel::Cpu].mean.has_value());

        QProcess ctl;
        ctl.start(KESTRELON_BIN_DIR "/kestrelonctl", {"history", "--since", "1m", "--csv"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return ctl.state() == QProcess::NotRunning; }, 15000));
        EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
        const QStringList lines =
            QString(ctl.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3);  // the header and a row a second
        EXPECT_TRUE(lines[0].startsWith("time,cpu_temp_min_c,"));
        EXPECT_NE(lines[1].left(19), lines[2].left(19));  // one second, then the next
    }
    // The minute so far is written when the program ends.
    std::size_t rowsWritten = 0;
    for (const auto& f : std::filesystem::directory_iterator(files)) {
        std::ifstream in(f.path());
        for (std::string l; std::getline(in, l);) rowsWritten += l.rfind("time,", 0) != 0;
    }
    EXPECT_GE(rowsWritten, 1u);
}

TEST_F(DesktopProgramTest, YesToTheCloseQuestionStopsEveryExchangeWithThePanel) {
    DesktopProgram program(options());
    ASSERT_FALSE(program.start().has_value());
    settle(1200);  // at least one poll
    const std::size_t beforeExit = frames().size();
    ASSERT_GT(beforeExit, 0u);

    QTimer::singleShot(50, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(box->text(), "Close The Program?");
            box->button(QMessageBox::Yes)->click();
        }
    });
    program.controls()->QuitRequested();
    const std::size_t atExit = frames().size();
    settle(2500);  // two poll periods: nothing more goes to the panel
    EXPECT_EQ(frames().size(), atExit);
    EXPECT_FALSE(program.window().isVisible());
    EXPECT_TRUE(std::filesystem::exists(options().settingsPath));
}

}  // namespace
}  // namespace kestrelon
