// SPDX-License-Identifier: GPL-3.0-or-later
// Skin files at run time and at start-up: the cache follows the disk, a vanished file skips its
// drawing with one log line, and the skin check names every missing or broken file.
#include <QFile>
#include <chrono>
#include <filesystem>

#include "renderer_fixture.h"
#include "skin/skin_check.h"

namespace kestrelon::test {

namespace {

QImage solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void writeBytes(const std::filesystem::path& file, const QByteArray& bytes) {
    QFile out(QString::fromStdString(file.string()));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

}  // namespace

TEST_F(RendererTest, PictureReplacedOnDiskIsUsedFromTheNextDrawing) {
    namespace fs = std::filesystem;
    const fs::path file = skin.path("linkon.bmp");
    renderer.ShowLinkState(true);
    EXPECT_EQ(renderer.windowPicture().pixel(494, 289), colour("linkon.bmp"));

    // Same size, later modification time.
    const auto first = fs::last_write_time(file);
    skin.write("linkon.bmp", solid(QSize(12, 9), qRgb(1, 2, 3)));
    fs::last_write_time(file, first + std::chrono::seconds(2));
    renderer.ShowLinkState(true);
    EXPECT_EQ(fillMismatch(renderer.windowPicture(), QRect(494, 289, 12, 9), qRgb(1, 2, 3)), "");

    // Other size, the very same modification time.
    const auto second = fs::last_write_time(file);
    skin.write("linkon.bmp", solid(QSize(14, 9), qRgb(4, 5, 6)));
    fs::last_write_time(file, second);
    renderer.ShowLinkState(true);
    EXPECT_EQ(fillMismatch(renderer.windowPicture(), QRect(494, 289, 14, 9), qRgb(4, 5, 6)), "");
}

TEST_F(RendererTest, VanishedFileSkipsOnlyItsDrawingAndIsLoggedOnce) {
    skin.remove("luw.bmp");
    skin.remove("scpuba.bmp");
    const QImage before = renderer.windowPicture().copy();
    testing::internal::CaptureStderr();
    state.readings.shownTemperature[Channel::Cpu] = 40;
    EXPECT_NO_THROW({
        renderer.RefreshSkin();
        renderer.RefreshSkin();
        renderer.DrawTempReadout(Channel::Cpu);
        renderer.DrawTempReadout(Channel::Cpu);
    });
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.find("kestrelon: cannot draw luw.bmp: "), 0u) << log;
    const std::size_t second = log.find("\nkestrelon: cannot draw scpuba.bmp: ");
    EXPECT_NE(second, std::string::npos) << log;
    EXPECT_EQ(log.find("kestrelon:", second + 2), std::string::npos)
        << "one line per file: " << log;

    EXPECT_EQ(renderer.windowPicture().pixel(107 + 50, 104 + 50), SyntheticSkin::blcdPixel(35, 35))
        << "the missing wing leaves the LCD visible";
    EXPECT_EQ(renderer.windowPicture().pixel(108 + 50, 228 + 50), colour("ldw.bmp"))
        << "the other wings are still drawn";
    EXPECT_EQ(renderer.windowPicture().copy(474, 183, 30, 9), before.copy(474, 183, 30, 9))
        << "a readout without background is skipped as a whole";

    skin.write("luw.bmp", solid(QSize(118, 118), qRgb(9, 9, 9)));
    renderer.RefreshSkin();
    EXPECT_EQ(renderer.windowPicture().pixel(107 + 50, 104 + 50), qRgb(9, 9, 9));
}

TEST(SkinSurfaces, MissingSkinPictureLeavesBlankSurfacesOfTheRightSize) {
    SyntheticSkin skin;
    skin.remove("mainback.bmp");
    skin.remove("mmask.bmp");
    MonitorState state;
    VirtualTime time;
    testing::internal::CaptureStderr();
    SkinRenderer renderer(state, skin.dir(), time, {});
    state.readings.shownTemperature[Channel::Cpu] = 88;
    renderer.DrawTempReadout(Channel::Cpu);
    renderer.RefreshSkin();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(renderer.windowPicture().size(), QSize(660, 441));
    EXPECT_EQ(renderer.composition().size(), QSize(660, 441));
    EXPECT_EQ(renderer.digitMask().pixel(7, 11), 0xFFFFFFFFu);
    EXPECT_EQ(renderer.windowPicture().pixel(474 + 24, 183 + 1),
              skin.colour("scpuba.bmp") | skin.colour("s8.bmp"));
}

TEST(CheckSkin, CompleteSkinPasses) {
    SyntheticSkin skin;
    EXPECT_EQ(CheckSkin(skin.dir()), std::vector<std::string>{});
}

TEST(CheckSkin, NamesEachMissingOrBrokenFileOnce) {
    SyntheticSkin skin;
    skin.remove("s3.bmp");
    skin.remove("harrow.cur");
    writeBytes(skin.path("luwma.bmp"), "BM not really a bitmap");
    writeBytes(skin.path("move_r.cur"), "");
    writeBytes(skin.path("arrow_m.cur"), QByteArray(200, 'x'));
    QByteArray wave = waveFile();
    wave.replace(8, 4, "AVI ");
    writeBytes(skin.path("nimclick.wav"), wave);
    skin.write("mainback.bmp", solid(QSize(600, 400), qRgb(0, 0, 0)));

    const std::vector<std::string> problems = CheckSkin(skin.dir());
    const char* broken[] = {"s3.bmp",      "harrow.cur",   "luwma.bmp",   "move_r.cur",
                            "arrow_m.cur", "nimclick.wav", "mainback.bmp"};
    EXPECT_EQ(problems.size(), std::size(broken));
    for (const char* name : broken) {
        const std::string quoted = std::string("\"") + name + "\"";
        EXPECT_EQ(std::count_if(problems.begin(), problems.end(),
                                [&](const std::string& p) { return p.find(quoted) != p.npos; }),
                  1)
            << name;
    }
}

}  // namespace kestrelon::test
