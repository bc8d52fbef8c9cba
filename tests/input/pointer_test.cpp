// SPDX-License-Identifier: GPL-3.0-or-later
// Pointer moves and keys: the hover cursors and their loads, grab areas and window drags with the
// poll paused and resumed, the knob drag, the reset hint and the Ctrl+Alt arming.
#include <gtest/gtest.h>

#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

TEST(Pointer, CursorFilesLoadOnlyWhenTheKindChangesAndAFailedLoadIsRetried) {
    test::ControlsHarness h;
    h.move(10, 10);                      // arrow, already installed
    h.move(446, 200);                    // the HDD sensor's hover area, outside its click area
    h.move(450, 200);                    // still a hand
    h.move(600, 5);                      // a grab area
    h.move(300, 400), h.move(301, 400);  // the skin
    EXPECT_EQ(h.desktop.cursorLoads,
              (std::vector<CursorKind>{CursorKind::Hand, CursorKind::Move, CursorKind::Arrow}));

    h.controls.onClick();  // at (301, 400): nothing
    h.move(446, 200);
    h.controls.onClick();  // the hand shows here, but no click rectangle holds it
    EXPECT_EQ(h.sound.plays, 0);

    h.desktop.cursorFilesReadable = false;
    h.move(600, 5), h.move(601, 5);
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Hand);  // unchanged, and tried again at each move
    EXPECT_EQ(h.desktop.cursorLoads.size(), 6u);
}

TEST(Pointer, HoverFollowsTheWingsAndShowsTheHandOnFanIconsInAutomaticMode) {
    test::ControlsHarness h;
    h.state.settings.fanMode = FanMode::Automatic;
    h.move(140, 236);
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Arrow);  // under the closed lower-left wing
    h.state.ui.lowerLeftWingOpen = true;
    h.move(140, 237);
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Hand);
    h.move(92, 225);  // the reset spot shows the hand unarmed too
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Hand);
}

TEST(Pointer, TheCursorTimerRunsOnlyWhileANonArrowCursorIsInstalled) {
    test::ControlsHarness h;
    h.move(600, 5);
    EXPECT_TRUE(h.desktop.cursorTimer);
    h.desktop.pointerOver = true;
    h.controls.onCursorTick();
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Move);
    h.desktop.pointerOver = false;  // the pointer left the window
    h.controls.onCursorTick();
    EXPECT_EQ(h.state.ui.cursor, CursorKind::Arrow);
    EXPECT_FALSE(h.desktop.cursorTimer);
}

TEST(Pointer, GrabAreasHaveTheirEdgesWhereTheyShould) {
    const struct {
        float x, y;
        bool upper, lower;
    } cases[] = {{541, 0, true, false}, {540, 0, false, false}, {605, 40, true, false},
                 {604, 40, false, false}, {644, 100, true, false}, {643, 100, false, false},
                 {659, 116, false, false}, {549, 440, false, true}, {548, 440, false, false},
                 {609, 400, false, true}, {632, 360, false, true}, {631, 360, false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(geo::inUpperGrabArea(c.x, c.y), c.upper) << c.x << "," << c.y;
        EXPECT_EQ(geo::inLowerGrabArea(c.x, c.y), c.lower) << c.x << "," << c.y;
    }
}

TEST(Pointer, ADragFromAGrabAreaMovesTheWindowAndPausesPollingUntilItEnds) {
    struct End {
        const char* how;
        std::function<void(test::ControlsHarness&)> run;
    };
    const End ends[] = {
        {"a move without the button", [](auto& h) { h.move(620, 20); }},
        {"the button released", [](auto& h) { h.controls.onPointerUp(kLeftButton); }},
        {"the pointer leaving", [](auto& h) { h.controls.pointerLeft(); }},
        {"the window hiding", [](auto& h) { h.controls.windowHidden(); }},
    };
    for (const End& end : ends) {
        SCOPED_TRACE(end.how);
        test::ControlsHarness h;
        h.controls.onPointerDown(kLeftButton, 0, 600.4f, 10.5f);  // rounds to 600, 10
        h.move(610.7f, 14, kLeftButton);
        const auto& log = h.desktop.log;
        EXPECT_NE(std::find(log.begin(), log.end(), "drag 600,10 by 10,4"), log.end());
        EXPECT_FALSE(h.desktop.pollTimer);
        end.run(h);
        EXPECT_TRUE(h.desktop.pollTimer);
    }

    test::ControlsHarness middle;  // pressed on the skin's middle: no drag
    middle.controls.onPointerDown(kLeftButton, 0, 300, 300);
    middle.move(310, 310, kLeftButton);
    for (const std::string& call : middle.desktop.log) EXPECT_NE(call.rfind("drag", 0), 0u);

    test::ControlsHarness both;  // left and right together
    both.controls.onPointerDown(kLeftButton, 0, 600, 10);
    both.move(610, 14, 3);
    EXPECT_TRUE(both.desktop.pollTimer);

    test::ControlsHarness wayland;  // the compositor moves the window; polling goes on
    wayland.desktop.compositorMoves = true;
    wayland.controls.onPointerDown(kLeftButton, 0, 600, 10);
    wayland.move(610, 14, kLeftButton);
    EXPECT_TRUE(wayland.desktop.pollTimer);
}

TEST(Pointer, TheKnobFollowsALeftDragNearItWhileItsWingIsOpen) {
    test::ControlsHarness h;
    h.connectPanel();
    h.renderer.DrawVolumeKnob();  // vol 0: knob box at (288, 199)
    h.pushes();
    h.move(290, 203, kLeftButton);
    EXPECT_EQ(h.state.host.masterVolume, 0);  // wing closed
    h.state.ui.upperRightWingOpen = true;
    h.move(290, 203, 3);
    EXPECT_TRUE(h.mixer.sets.empty());  // two buttons
    h.move(290, 200, kLeftButton);      // 5 %
    h.move(290, 196, kLeftButton);      // 12 %
    h.move(290, 196, kLeftButton);      // unchanged: nothing set again
    EXPECT_EQ(h.mixer.sets, (std::vector<int32_t>{5, 12}));
    EXPECT_EQ(h.state.ui.knobY, 199 - 7);
    EXPECT_EQ(h.state.panel.volumeLevel, 3);
    EXPECT_EQ(h.pushes(), (std::vector<uint8_t>{0x29, 0x29}));  // usb_vol 1, then 3
    h.move(290, 150, kLeftButton);  // far off the knob's box: it stays
    EXPECT_EQ(h.state.host.masterVolume, 12);
}

TEST(Pointer, TheResetHintSitsAtThePreviousMoveAndHidesOutsideTheSpot) {
    test::ControlsHarness h;
    h.move(90, 225);
    h.move(91, 225);
    ASSERT_TRUE(h.desktop.hint.has_value());
    EXPECT_EQ(*h.desktop.hint, QPoint(90, 205));
    EXPECT_EQ(h.desktop.hintSize, h.skin.size("reset.bmp"));
    h.move(120, 225);
    EXPECT_FALSE(h.desktop.hint.has_value());
}

TEST(Pointer, OnlyCtrlAltWithoutShiftArmsTheResetSpotAndFocusLossDisarmsIt) {
    const struct {
        int shift;
        bool armed;
    } keys[] = {{kCtrlMask | kAltMask, true},
                {kCtrlMask | kAltMask | kShiftMask, false},
                {kCtrlMask, false},
                {kAltMask, false}};
    for (const auto& k : keys) {
        test::ControlsHarness h;
        h.controls.onKeyDown(0, k.shift);
        EXPECT_EQ(h.state.ui.resetArmed, k.armed) << k.shift;
    }
    test::ControlsHarness h;
    h.controls.onKeyDown(0, kCtrlMask | kAltMask);
    h.controls.focusLost();
    EXPECT_FALSE(h.state.ui.resetArmed);
    h.controls.onKeyDown(0, kCtrlMask | kAltMask);
    h.move(88, 229);  // moving does not disarm
    EXPECT_TRUE(h.state.ui.resetArmed);
    h.controls.onKeyUp(0, 0);
    EXPECT_FALSE(h.state.ui.resetArmed);
}

}  // namespace
}  // namespace kestrelon
