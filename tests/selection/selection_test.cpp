// SPDX-License-Identifier: GPL-3.0-or-later
// Selection blinking: hand-over between items, the shared blink phase, the 8-second time-outs in
// monotonic time, and the blink timer running only while there is something to do.
#include <gtest/gtest.h>

#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

constexpr QPoint kCpuFanOnWindow{132 + 2, 233 + 2};   // inside the CPU fan icon
constexpr QPoint kCaseLimitOnWindow{243 + 2, 285 + 2};  // inside the case limit icon

QRgb at(test::ControlsHarness& h, QPoint p) {
    return h.renderer.windowPicture().pixel(p);
}

TEST(Selection, SelectingAnotherItemDrawsThePreviousOneNormalAndMovesTheFlag) {
    test::ControlsHarness h;
    h.state.ui.lowerLeftWingOpen = true;
    h.click(140, 236);  // CPU fan: item 7
    h.click(140, 288);  // case fan: item 8
    EXPECT_EQ(h.state.ui.blinking[7], 0);
    EXPECT_EQ(h.state.ui.blinking[8], 1);
    EXPECT_EQ(h.state.ui.previousItem, 7);
    EXPECT_EQ(h.state.ui.selectedItem, 8);
    EXPECT_EQ(at(h, kCpuFanOnWindow), h.skin.colour("fcpu.bmp"));
}

TEST(Selection, ABlinkingIconAlternatesEveryTwoTicksPastHalfASecondAndStopsNormalWhenClicked) {
    test::ControlsHarness h;
    h.state.ui.lowerRightWingOpen = true;
    h.click(250, 288);  // case limit: item 12
    std::vector<QRgb> seen;
    for (int i = 0; i < 14; ++i) {
        h.tick(0.1);
        seen.push_back(at(h, kCaseLimitOnWindow));
    }
    const QRgb normal = h.skin.colour("tcase.bmp"), blink = h.skin.colour("tcaseb.bmp");
    // The picture changes at the first tick more than 0.5 s after the last change.
    EXPECT_EQ(seen[4], normal);
    EXPECT_EQ(seen[5], blink);
    EXPECT_EQ(seen[10], blink);
    EXPECT_EQ(seen[11], normal);
    h.click(250, 288);
    EXPECT_EQ(h.state.ui.blinking[12], 0);
    EXPECT_EQ(at(h, kCaseLimitOnWindow), normal);
}

TEST(Selection, TwoBlinkingItemsShareOnePhase) {
    test::ControlsHarness h;
    h.state.ui.upperLeftWingOpen = h.state.ui.lowerRightWingOpen = true;
    h.click(250, 288);   // case limit
    h.click(132, 146);   // alarm set: the hour blinks beside the icon
    h.tick(0.6);
    // Both stepped in the same tick: the phase flipped twice, so the icon shows the phase the
    // alarm hour's step left, and the hour is back in full.
    EXPECT_EQ(h.state.ui.blinkPhase, 0);
    EXPECT_EQ(at(h, kCaseLimitOnWindow), h.skin.colour("tcase.bmp"));
}

TEST(Selection, TheSelectionEndsBetweenEightAndEightPointOneSecondsWhileTheLcdScans) {
    test::ControlsHarness h;
    h.state.ui.lowerRightWingOpen = true;
    h.state.poll.lcdScanning = true;
    h.click(250, 288);
    ASSERT_TRUE(h.desktop.blinkTimer);
    h.tick(7.0);
    h.click(310, 253);  // an arrow click restarts the eight seconds
    h.tick(7.9);
    EXPECT_EQ(h.state.ui.selectedItem, 12);
    h.tick(0.2);
    EXPECT_EQ(h.state.ui.selectedItem, 0);
    EXPECT_EQ(h.state.ui.blinking[12], 0);
    EXPECT_EQ(at(h, kCaseLimitOnWindow), h.skin.colour("tcase.bmp"));
    EXPECT_FALSE(h.desktop.blinkTimer);  // nothing left to blink or time out
}

TEST(Selection, ASelectedSensorBlinksUntilAClickSoundTurnsScanningBackOn) {
    test::ControlsHarness h;
    h.click(455, 186);  // CPU sensor: scanning stops, no time-out
    h.tick(20);
    EXPECT_EQ(h.state.ui.selectedItem, 1);
    h.state.ui.upperLeftWingOpen = true;
    h.click(175, 150);  // the alarm switch plays the sound: scanning, and 20 s have passed
    h.tick(0.1);
    EXPECT_EQ(h.state.ui.selectedItem, 0);
    EXPECT_EQ(h.state.ui.blinking[1], 0);
}

TEST(Selection, ClosingAWingEndsItsSelectionAndAnyOther) {
    test::ControlsHarness h;
    h.click(455, 186);  // CPU sensor selected
    h.state.ui.lowerLeftWingOpen = true;
    h.click(120, 320);  // the lower-left wing closes
    EXPECT_FALSE(h.state.ui.lowerLeftWingOpen);
    EXPECT_EQ(h.state.ui.selectedItem, 0);
    EXPECT_EQ(h.state.ui.blinking[1], 0);
    EXPECT_TRUE(h.state.poll.lcdScanning);  // from the wing button's click
}

TEST(Selection, TimeOutsFollowTheMonotonicClockNotTheTimeOfDay) {
    test::ControlsHarness h;
    h.time.setTimeOfDay(24 * 3600 - 2);  // just before midnight
    h.state.poll.lcdScanning = true;
    h.state.ui.lowerRightWingOpen = true;
    h.click(250, 288);
    h.time.setTimeOfDay(1);  // the day turned over
    h.tick(1.0);
    EXPECT_EQ(h.state.ui.selectedItem, 12);  // still selected
    EXPECT_EQ(h.state.ui.blinkPhase, 1);    // and still blinking
}

}  // namespace
}  // namespace kestrelon
