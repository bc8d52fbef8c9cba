// SPDX-License-Identifier: GPL-3.0-or-later
// Icons, state pictures and the volume slider: the right picture at the right place per state.
#include "renderer_fixture.h"

namespace kestrelon::test {

namespace {

struct Placed {
    const char* file;
    int x, y;
};

}  // namespace

TEST_F(RendererTest, BacklightButtonsLightExactlyTheCurrentColour) {
    const Placed off[] = {{"offoff.bmp", 14, 72},
                          {"redoff.bmp", 47, 85},
                          {"blueoff.bmp", 47, 72},
                          {"puroff.bmp", 14, 85}};
    const Placed lit[] = {{"offon.bmp", 14, 72},
                          {"redon.bmp", 47, 85},
                          {"blueon.bmp", 47, 72},
                          {"puron.bmp", 14, 85}};
    for (int16_t backColor : {0, 1, 2, 3, 7, -1}) {
        state.settings.backlight = static_cast<Backlight>(backColor);
        renderer.ShowBacklightButtons();
        for (int code = 0; code < 4; ++code) {
            const Placed& p = code == backColor ? lit[code] : off[code];
            EXPECT_EQ(fillMismatch(renderer.lcdPicture(), QRect(QPoint(p.x, p.y), QSize(31, 11)),
                                   colour(p.file)),
                      "")
                << "backlight " << backColor << ": " << p.file;
        }
    }
}

TEST_F(RendererTest, ButtonPairsAlwaysShowOneLitButton) {
    for (bool on : {true, false}) {
        state.settings.unit = unitFor(!on);
        state.settings.fanMode = fanModeFor(on);
        state.panel.alarmEnabled = on;
        renderer.ShowDegreeButtons();
        renderer.ShowFanModeButtons();
        renderer.ShowAlarmEnable();
        const Placed expected[] = {{on ? "dcon.bmp" : "dcoff.bmp", 127, 187},
                                   {on ? "dfoff.bmp" : "dfon.bmp", 152, 187},
                                   {on ? "auon.bmp" : "auoff.bmp", 33, 194},
                                   {on ? "maoff.bmp" : "maon.bmp", 68, 194},
                                   {on ? "alen.bmp" : "aldis.bmp", 48, 29}};
        for (const Placed& p : expected)
            EXPECT_EQ(fillMismatch(renderer.lcdPicture(),
                                   QRect(QPoint(p.x, p.y), skin.size(p.file)), colour(p.file)),
                      "")
                << p.file;
    }
}

TEST_F(RendererTest, UnitAndLinkPicturesChangeOnlyTheirOwnPlace) {
    for (bool on : {true, false}) {
        const QImage before = renderer.windowPicture().copy();
        state.settings.unit = unitFor(on);
        renderer.ShowTempUnit();
        const QRect unit(505, 182, 12, 9);
        EXPECT_EQ(fillMismatch(renderer.windowPicture(), unit, colour(on ? "sdf.bmp" : "sdc.bmp")),
                  "");
        EXPECT_EQ(diffOutside(before, renderer.windowPicture(), unit), "");

        renderer.ShowLinkState(on);
        EXPECT_EQ(fillMismatch(renderer.windowPicture(), QRect(494, 289, 12, 9),
                               colour(on ? "linkon.bmp" : "linkoff.bmp")),
                  "");
    }
    EXPECT_EQ(shows, 0);
}

TEST_F(RendererTest, VolumeSliderDrawsBarTickAndKnobForTheVolume) {
    struct Case {
        int32_t vol;
        int level;  // the level line on the slider picture
        int16_t knobY;
    };
    const Case cases[] = {{0, 75, 199}, {100, 15, 139}, {50, 45, 169}, {2, 74, 198}, {1, 74, 198}};
    const QRgb white = 0xFFFFFFFFu;
    for (const Case& c : cases) {
        state.host.masterVolume = c.vol;
        renderer.DrawVolumeKnob();
        EXPECT_EQ(state.ui.knobX, 288);
        EXPECT_EQ(state.ui.knobY, c.knobY) << "vol " << c.vol;
        const QImage slider = renderer.lcdPicture().copy(132, 10, 45, 80);
        EXPECT_EQ(fillMismatch(slider, QRect(QPoint(1, c.level), QPoint(27, 75)), white), "");
        EXPECT_EQ(fillMismatch(slider, QRect(QPoint(28, c.level), QPoint(34, c.level)), white), "");
        EXPECT_EQ(fillMismatch(slider, QRect(QPoint(28, c.level + 1), QPoint(33, 79)),
                               colour("volba.bmp")),
                  "")
            << "vol " << c.vol;
        EXPECT_EQ(
            fillMismatch(slider, QRect(QPoint(0, 0), QPoint(27, c.level - 1)), colour("volba.bmp")),
            "")
            << "vol " << c.vol;
        for (QPoint knob : {QPoint(38, c.level), QPoint(34, c.level), QPoint(42, c.level),
                            QPoint(38, c.level - 4), QPoint(38, c.level + 4)})
            EXPECT_EQ(slider.pixel(knob), white);
        EXPECT_EQ(slider.pixel(43, c.level), colour("volba.bmp"));
        EXPECT_EQ(slider.pixel(42, c.level - 4), colour("volba.bmp"));
    }
}

}  // namespace kestrelon::test
