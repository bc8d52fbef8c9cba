// SPDX-License-Identifier: GPL-3.0-or-later
// The real mixer and click against a private sound server with a null sink: values written show
// in the server, changes made in the server show in the mixer, and the click plays to its end,
// one at a time.
// Skipped only when no server can be started here, and then failed instead when CI is set.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/alsa_click_sound.h"
#include "host/alsa_mixer.h"
#include "tests/host/wav_bytes.h"

namespace kestrelon {
namespace {

using namespace std::chrono_literals;

// A sound server of our own, with a null sink as its only output. Its home and runtime folders
// are temporary and become this process's, so that libasound's "default" devices reach it.
class SoundServer {
public:
    SoundServer() {
        const QString program = QStandardPaths::findExecutable("pulseaudio");
        if (program.isEmpty() || !dir_.isValid()) {
            why_ = "pulseaudio is not installed";
            return;
        }
        const QString home = dir_.filePath("home"), runtime = dir_.filePath("runtime");
        std::filesystem::create_directories(home.toStdString());
        std::filesystem::create_directory(runtime.toStdString());
        std::filesystem::permissions(runtime.toStdString(), std::filesystem::perms::owner_all);
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
        qunsetenv("PULSE_SERVER");

        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(program, {"-n", "--daemonize=no", "--exit-idle-time=-1",
                                "--load=module-null-sink", "--load=module-native-protocol-unix"});
        if (!server_.waitForStarted(5000)) {
            why_ = "pulseaudio did not start: " + server_.errorString().toStdString();
            return;
        }
        for (int i = 0; i < 200 && !up_; ++i) {
            if (server_.state() != QProcess::Running) break;
            up_ = pactl({"info"}).has_value();
            if (!up_) QThread::msleep(25);
        }
        if (!up_) why_ = "pulseaudio did not come up: " + server_.readAll().toStdString();
    }

    ~SoundServer() {
        if (server_.state() == QProcess::NotRunning) return;
        server_.terminate();  // this process's own child, by its id
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }

    bool up() const { return up_; }
    const std::string& why() const { return why_; }

    // pactl's output, or nothing when it failed.
    std::optional<std::string> pactl(const QStringList& args) {
        QProcess p;
        p.start("pactl", args);
        if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return std::nullopt;
        return p.readAllStandardOutput().toStdString();
    }
    std::string sinkVolume() { return pactl({"get-sink-volume", "@DEFAULT_SINK@"}).value_or(""); }
    std::string sinkMute() { return pactl({"get-sink-mute", "@DEFAULT_SINK@"}).value_or(""); }
    bool setSinkVolume(const QStringList& levels) {
        return pactl(QStringList{"set-sink-volume", "@DEFAULT_SINK@"} + levels).has_value();
    }

private:
    QTemporaryDir dir_;
    QProcess server_;
    bool up_ = false;
    std::string why_;
};

class SoundServerTest : public testing::Test {
protected:
    void SetUp() override {
        if (server_.up()) return;
        // A CI run must not pass without the sound server's tests: there they fail.
        if (!qEnvironmentVariableIsEmpty("CI")) FAIL() << server_.why() << " (CI is set)";
        GTEST_SKIP() << server_.why();
    }
    SoundServer server_;
};

// The mixer takes in a change made in the server from its event queue, which the server fills
// shortly after pactl returns; give it that moment.
int32_t VolumeOnceSettled(AlsaMixer& mixer, int32_t expected) {
    int32_t volume = mixer.GetMasterVolume();
    for (int i = 0; i < 100 && volume != expected; ++i) {
        QThread::msleep(20);
        volume = mixer.GetMasterVolume();
    }
    return volume;
}

TEST_F(SoundServerTest, MixerWritesRawLinearValuesToTheMasterElement) {
    AlsaMixer mixer;
    ASSERT_TRUE(mixer.isOpen());
    EXPECT_EQ(mixer.elementName(), "Master");
    const struct {
        int32_t percent;
        const char* shown;
    } cases[] = {{50, "32750 /  50%"},
                 {100, "65500 / 100%"},
                 {40, "26200 /  40%"},
                 {0, "0 /   0%"},
                 {130, "65536 / 100%"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(mixer.SetMasterVolume(c.percent)) << c.percent;
        const std::string shown = server_.sinkVolume();
        EXPECT_NE(shown.find(std::string("front-left: ") + c.shown), std::string::npos)
            << c.percent << "%: " << shown;
        EXPECT_NE(shown.find(std::string("front-right: ") + c.shown), std::string::npos)
            << c.percent << "%: " << shown;
    }
}

TEST_F(SoundServerTest, MixerSeesChangesMadeInTheServer) {
    AlsaMixer mixer;
    ASSERT_TRUE(mixer.isOpen());
    const struct {
        QStringList levels;
        int32_t percent;
    } cases[] = {
        {{"75%"}, 75}, {{"40%", "80%"}, 80},  // the louder channel
        {{"33%"}, 33}, {{"150%"}, 100},       // above the element's maximum
        {{"0%"}, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(server_.setSinkVolume(c.levels));
        EXPECT_EQ(VolumeOnceSettled(mixer, c.percent), c.percent)
            << c.levels.join(' ').toStdString();
    }
}

TEST_F(SoundServerTest, MixerLeavesVolumeAndMuteAloneUntilTold) {
    ASSERT_TRUE(server_.setSinkVolume({"33%"}));
    ASSERT_TRUE(server_.pactl({"set-sink-mute", "@DEFAULT_SINK@", "1"}).has_value());
    const std::string before = server_.sinkVolume();

    AlsaMixer mixer;
    ASSERT_TRUE(mixer.isOpen());
    EXPECT_EQ(mixer.GetMasterVolume(), 33);
    EXPECT_EQ(server_.sinkVolume(), before);  // opening and reading write nothing
    ASSERT_TRUE(mixer.SetMasterVolume(60));
    EXPECT_EQ(server_.sinkMute(), "Mute: yes\n");
}

TEST_F(SoundServerTest, ClickPlaysOneSoundAtATimeToItsEnd) {
    QTemporaryDir dir;
    const struct {
        uint16_t channels, bits;
        uint32_t rate;
    } cases[] = {{1, 16, 22050}, {2, 8, 11025}};
    for (const auto& c : cases) {
        const std::filesystem::path file = dir.filePath("nimclick.wav").toStdString();
        const test::Bytes wav = test::PcmWav(c.channels, c.rate, c.bits, c.rate * 3 / 10);  // 0.3 s
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()),
                   static_cast<std::streamsize>(wav.size()));
        AlsaClickSound click(file);
        // Three clicks in a row: the first plays to its end, the two made while it plays are
        // silent. A refused open or format would play none.
        for (int i = 0; i < 3; ++i) click.play();
        click.waitUntilQuiet();
        EXPECT_EQ(click.played(), 1) << c.bits << "-bit, " << c.channels << " channels";
        click.play();  // the way is free again
        click.waitUntilQuiet();
        EXPECT_EQ(click.played(), 2) << c.bits << "-bit, " << c.channels << " channels";
    }
}

TEST_F(SoundServerTest, ClickUnderWayEndsWithItsOwner) {
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("nimclick.wav").toStdString();
    const test::Bytes wav = test::PcmWav(1, 22050, 16, 22050 * 5);  // 5 s
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    const auto streams = [this] {
        return server_.pactl({"list", "short", "sink-inputs"}).value_or("?");
    };
    auto click = std::make_unique<AlsaClickSound>(file);
    click->play();
    for (int i = 0; i < 250 && streams().empty(); ++i) QThread::msleep(20);
    EXPECT_NE(streams(), "") << "the sound never reached the server";
    click.reset();  // stops the sound and joins its thread, seconds before the sound's end
    // The server takes the closed stream away a moment later; the sound would last 5 s.
    for (int i = 0; i < 50 && !streams().empty(); ++i) QThread::msleep(20);
    EXPECT_EQ(streams(), "");
}

}  // namespace
}  // namespace kestrelon
