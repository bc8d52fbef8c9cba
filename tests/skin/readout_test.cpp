// SPDX-License-Identifier: GPL-3.0-or-later
// Readout panels: digit places, right alignment, "----", clipping at the left edge, the clock,
// host facts and the alarm time panel.
#include <filesystem>

#include "renderer_fixture.h"

namespace kestrelon::test {

namespace {

constexpr QSize kSmall(5, 7), kMedium(8, 12), kBig(10, 13);

std::vector<std::pair<int, std::string>> smallText(const std::string& text, int rightmost) {
    std::vector<std::pair<int, std::string>> glyphs;
    int x = rightmost;
    for (auto c = text.rbegin(); c != text.rend(); ++c, x -= 6)
        glyphs.emplace_back(x, *c == '-'   ? "s-.bmp"
                               : *c == '.' ? "sdot.bmp"
                                           : std::string("s") + *c + ".bmp");
    return glyphs;
}

}  // namespace

TEST_F(RendererTest, TemperatureReadoutsShowTwoDigitsOrDashesOnTheirRow) {
    struct Row {
        Channel channel;
        const char* background;
        int y;
    };
    const Row rows[] = {{Channel::Cpu, "scpuba.bmp", 183},
                        {Channel::Hdd, "scaseba.bmp", 196},
                        {Channel::Vga, "svgaba.bmp", 210},
                        {Channel::Case, "shddba.bmp", 224}};
    struct Case {
        int32_t value;
        std::string text;
    };
    const Case cases[] = {{254, "254"},  {5, "05"},   {45, "45"},
                          {255, "----"}, {0, "----"}, {-3, "-03"}};
    for (const Row& row : rows)
        for (const Case& c : cases) {
            state.readings.shownTemperature[row.channel] = c.value;
            renderer.DrawTempReadout(row.channel);
            EXPECT_EQ(renderer.windowPicture().copy(474, row.y, 30, 9),
                      panel(row.background, 1, kSmall, smallText(c.text, 24)))
                << "channel " << channelName(row.channel) << " value " << c.value;
        }
    EXPECT_EQ(shows, 0) << "readouts wait for the next refresh";
}

TEST_F(RendererTest, FanReadoutsFillFiveDigitsFromTheLeftEdgeAndDashAboveTheCeiling) {
    state.readings.shownFanSpeed[Channel::Vga] = 65534;
    renderer.DrawFanReadout(Channel::Vga);
    EXPECT_EQ(
        renderer.windowPicture().copy(518, 210, 30, 9),
        panel("svgafba.bmp", 1, kSmall,
              {{0, "s6.bmp"}, {6, "s5.bmp"}, {12, "s5.bmp"}, {18, "s3.bmp"}, {24, "s4.bmp"}}));
    state.readings.shownFanSpeed[Channel::Vga] = 65535;
    renderer.DrawFanReadout(Channel::Vga);
    EXPECT_EQ(renderer.windowPicture().copy(518, 210, 30, 9),
              panel("svgafba.bmp", 1, kSmall, smallText("----", 24)));
    state.readings.shownFanSpeed[Channel::Hdd] = 7;
    renderer.DrawFanReadout(Channel::Hdd);
    EXPECT_EQ(renderer.windowPicture().copy(518, 196, 30, 9),
              panel("scasefba.bmp", 1, kSmall, smallText("07", 24)));
}

TEST_F(RendererTest, LimitReadoutsFollowTheUnitAndSetReadoutsTheFanMode) {
    state.settings.limitCelsius[Channel::Hdd] = 40;
    state.settings.limitFahrenheit[Channel::Hdd] = 104;
    renderer.DrawThresholdReadout(Channel::Hdd);
    EXPECT_EQ(renderer.lcdPicture().copy(153, 130, 26, 11),
              panel("tcaseba.bmp", 3, kSmall, smallText("40", 20)));
    state.settings.unit = TemperatureUnit::Fahrenheit;
    renderer.DrawThresholdReadout(Channel::Hdd);
    EXPECT_EQ(renderer.lcdPicture().copy(153, 130, 26, 11),
              panel("tcaseba.bmp", 3, kSmall, smallText("104", 20)));

    state.settings.fanSetPoint[Channel::Case] = 2000;
    state.settings.manualFanSpeed[Channel::Case] = 1500;
    renderer.DrawFanSetReadout(Channel::Case);
    EXPECT_EQ(renderer.lcdPicture().copy(38, 163, 26, 11),
              panel("fhddba.bmp", 3, kSmall, smallText("1500", 20)));
    state.settings.fanMode = FanMode::Automatic;
    renderer.DrawFanSetReadout(Channel::Case);
    EXPECT_EQ(renderer.lcdPicture().copy(38, 163, 26, 11),
              panel("fhddba.bmp", 3, kSmall, smallText("2000", 20)));
}

TEST_F(RendererTest, ChannelOutsideTheFourDrawsNothingAndDoesNotThrow) {
    const QImage before = renderer.windowPicture().copy();
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(renderer.DrawTempReadout(static_cast<Channel>(4)));
    EXPECT_NO_THROW(renderer.ShowSensorIcon(static_cast<Channel>(7)));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(renderer.windowPicture(), before);
}

TEST_F(RendererTest, HostReadoutsFitTheirPanelsAndShowZeroAsOneDigit) {
    state.host.processorMhz = 2400;
    state.host.diskGb = 1234;
    state.host.memoryMb = 0;
    const QImage before = renderer.windowPicture().copy();
    renderer.DrawHostReadout(geo::HostFact::CpuClock);
    renderer.DrawHostReadout(geo::HostFact::Disk);
    renderer.DrawHostReadout(geo::HostFact::Memory);
    EXPECT_EQ(renderer.windowPicture().copy(520, 245, 31, 9),
              panel("sspba.bmp", 1, kSmall, smallText("2400", 25)));
    EXPECT_EQ(renderer.windowPicture().copy(516, 274, 18, 9),
              panel("shdba.bmp", 1, kSmall, smallText("1.2", 12)));  // TB
    EXPECT_EQ(renderer.windowPicture().pixel(515, 275), before.pixel(515, 275))
        << "nothing lands left of the panel";
    EXPECT_EQ(renderer.windowPicture().copy(480, 260, 24, 9),
              panel("sramba.bmp", 1, kSmall, smallText("0", 18)));
}

TEST_F(RendererTest, MissingGlyphLeavesItsPlaceBlankAndStillAdvances) {
    skin.remove("s1.bmp");
    state.readings.shownTemperature[Channel::Cpu] = 217;
    testing::internal::CaptureStderr();
    renderer.DrawTempReadout(Channel::Cpu);
    renderer.DrawTempReadout(Channel::Cpu);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(renderer.windowPicture().copy(474, 183, 30, 9),
              panel("scpuba.bmp", 1, kSmall, {{12, "s2.bmp"}, {24, "s7.bmp"}}));
    EXPECT_EQ(log.find("kestrelon: cannot draw s1.bmp: "), 0u) << log;
    EXPECT_EQ(log.find("kestrelon:", 1), std::string::npos) << "logged once: " << log;

    QImage target(12, 8, QImage::Format_RGB32);
    target.fill(0xFF000000u);
    const QImage blank = target.copy();
    renderer.DrawSmallDigits(0, 0, ' ', target);
    renderer.DrawMediumDigits(0, 0, '.', target);  // the medium font has no '.'
    EXPECT_EQ(target, blank);
}

TEST_F(RendererTest, ClockPanelShowsFiveMediumCharactersAndTheWindow) {
    state.poll.shownMinute = "09:05";
    renderer.DrawClockPanel();
    EXPECT_EQ(
        renderer.windowPicture().copy(468, 161, 45, 12),
        panel("stba.bmp", 0, kMedium,
              {{0, "m0.bmp"}, {9, "m9.bmp"}, {18, "mcom.bmp"}, {27, "m0.bmp"}, {36, "m5.bmp"}}));
    EXPECT_EQ(shows, 1);

    state.poll.shownMinute.clear();
    renderer.DrawClockPanel();
    EXPECT_EQ(renderer.windowPicture().copy(468, 161, 45, 12), panel("stba.bmp", 0, kMedium, {}));
    EXPECT_EQ(shows, 2);
}

TEST_F(RendererTest, AlarmPanelGoesIntoTheLcdAndItsSettingOntoTheWindow) {
    state.settings.alarm.text = "07:45";
    const std::vector<std::pair<int, std::string>> all = {
        {0, "b0.bmp"}, {11, "b7.bmp"}, {22, "bcom.bmp"}, {33, "b4.bmp"}, {44, "b5.bmp"}};
    const QImage window = renderer.windowPicture().copy();
    renderer.DrawAlarmTime();
    EXPECT_EQ(renderer.lcdPicture().copy(26, 8, 54, 13), panel("alba.bmp", 0, kBig, all));
    EXPECT_EQ(renderer.windowPicture(), window);
    EXPECT_EQ(shows, 0);

    state.settings.alarm.text = "08:30";  // mode 1 must not touch the LCD copy
    renderer.DrawAlarmSetting(1);
    EXPECT_EQ(renderer.lcdPicture().copy(26, 8, 54, 13), panel("alba.bmp", 0, kBig, all));
    EXPECT_EQ(renderer.windowPicture().copy(148, 127, 54, 13),
              panel("alba.bmp", 0, kBig, {{22, "bcom.bmp"}, {33, "b3.bmp"}, {44, "b0.bmp"}}));
    EXPECT_EQ(shows, 1);

    renderer.DrawAlarmSetting(2);
    EXPECT_EQ(renderer.windowPicture().copy(148, 127, 54, 13),
              panel("alba.bmp", 0, kBig, {{0, "b0.bmp"}, {11, "b8.bmp"}, {22, "bcom.bmp"}}));
    renderer.DrawAlarmSetting(7);
    EXPECT_EQ(renderer.windowPicture().copy(148, 127, 54, 13), panel("alba.bmp", 0, kBig, {}));

    renderer.DrawAlarmSetting(0);
    const QImage full =
        panel("alba.bmp", 0, kBig,
              {{0, "b0.bmp"}, {11, "b8.bmp"}, {22, "bcom.bmp"}, {33, "b3.bmp"}, {44, "b0.bmp"}});
    EXPECT_EQ(renderer.windowPicture().copy(148, 127, 54, 13), full);
    EXPECT_EQ(renderer.lcdPicture().copy(26, 8, 54, 13), full);

    state.settings.alarm.text = ":";  // a malformed time shows what has a glyph
    renderer.DrawAlarmTime();
    EXPECT_EQ(renderer.lcdPicture().copy(26, 8, 54, 13),
              panel("alba.bmp", 0, kBig, {{0, "bcom.bmp"}}));
}

}  // namespace kestrelon::test
