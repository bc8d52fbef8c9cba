// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm time panel and the volume slider, both assembled on gr_temp1 and laid into the LCD.
#include <algorithm>
#include <cmath>
#include <limits>

#include "skin/raster.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// Whether DrawAlarmSetting's mode leaves out character `position` (1..5) of the alarm time.
bool leftOut(int mode, int position) {
    switch (mode) {
        case 0:
            return false;
        case 1:
            return position <= 2;
        case 2:
            return position >= 4;
        default:
            return true;
    }
}

int16_t roundToInt16(double value) {
    const double rounded = std::nearbyint(value);
    return static_cast<int16_t>(std::clamp(rounded, double{std::numeric_limits<int16_t>::min()},
                                           double{std::numeric_limits<int16_t>::max()}));
}

}  // namespace

bool SkinRenderer::ComposeAlarmPanel(int mode) {
    if (!LoadScratch(geo::kAlarmBackground)) return false;
    const std::string& text = state_.settings.alarm.text;
    for (int position = 1; position <= 5; ++position) {
        if (leftOut(mode, position) || static_cast<std::size_t>(position) > text.size()) continue;
        DrawBigDigits(geo::kBigFont.advance * (position - 1), 0, text[position - 1], scratch_);
    }
    return true;
}

void SkinRenderer::DrawAlarmTime() {
    if (ComposeAlarmPanel(0))
        blit(lcdPicture_, scratch_, geo::kAlarmPanelOnLcd.x, geo::kAlarmPanelOnLcd.y);
}

void SkinRenderer::DrawAlarmSetting(int mode) {
    if (ComposeAlarmPanel(mode)) {
        if (mode == 0)
            blit(lcdPicture_, scratch_, geo::kAlarmPanelOnLcd.x, geo::kAlarmPanelOnLcd.y);
        blit(windowPicture_, scratch_, geo::kAlarmPanelOnWindow.x, geo::kAlarmPanelOnWindow.y);
    }
    ShowWindowPicture();
}

void SkinRenderer::DrawVolumeKnob() {
    const geo::VolumeSlider& s = geo::kVolumeSlider;
    const double vol = state_.host.masterVolume;
    const int lift = roundToInt16(vol / 100.0 * s.liftRange);
    const int level = s.baseY - lift;
    if (LoadScratch(geo::kVolumeBackground)) {
        FillBox(scratch_, {s.barLeft, s.baseY}, {s.barRight, level}, kWhite);
        FillBox(scratch_, {s.tickLeft, level}, {s.tickRight, level}, kWhite);
        FillDisc(scratch_, {s.knobX, level}, s.knobRadius, kWhite);
        blit(lcdPicture_, scratch_, geo::kVolumeOnLcd.x, geo::kVolumeOnLcd.y);
    }
    state_.ui.knobX = static_cast<int16_t>(s.hitX);
    state_.ui.knobY = roundToInt16(level + s.hitYOffset);
}

bool SkinRenderer::LoadResetHint() {
    return LoadScratch(geo::kResetPicture);
}

}  // namespace kestrelon
