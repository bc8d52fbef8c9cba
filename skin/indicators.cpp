// SPDX-License-Identifier: GPL-3.0-or-later
// Icons and state pictures: sensor, fan and limit icons, unit, link lamp and the LCD buttons.
#include <cstdio>

#include "core/log.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

void SkinRenderer::DrawIcon(geo::IconRow row, Channel channel) {
    for (const geo::Icon& icon : geo::kIcons) {
        if (icon.row != row || icon.channel != channel) continue;
        ShowSkinPicture(icon.picture, icon.at.x, icon.at.y, icon.target);
        return;
    }
    LogLine("no icon for channel " + std::to_string(channelNumber(channel)));
}

void SkinRenderer::ShowSensorIcon(Channel channel) {
    DrawIcon(geo::IconRow::Sensor, channel);
}

void SkinRenderer::ShowFanIcon(Channel channel) {
    DrawIcon(geo::IconRow::Fan, channel);
}

void SkinRenderer::ShowThresholdIcon(Channel channel) {
    DrawIcon(geo::IconRow::Threshold, channel);
}

void SkinRenderer::ShowIndicator(const geo::Indicator& indicator, bool on) {
    ShowSkinPicture(on ? indicator.on : indicator.off, indicator.at.x, indicator.at.y,
                    indicator.target);
}

void SkinRenderer::ShowTempUnit() {
    ShowIndicator(geo::kTempUnit, state_.settings.fahrenheit());
}

void SkinRenderer::ShowLinkState(bool on) {
    ShowIndicator(geo::kLinkLamp, on);
}

void SkinRenderer::ShowDegreeButtons() {
    ShowIndicator(geo::kCelsiusButton, state_.settings.celsiusButtonLit());
    ShowIndicator(geo::kFahrenheitButton, !state_.settings.celsiusButtonLit());
}

void SkinRenderer::ShowFanModeButtons() {
    ShowIndicator(geo::kAutoButton, state_.settings.fansAutomatic());
    ShowIndicator(geo::kManualButton, !state_.settings.fansAutomatic());
}

void SkinRenderer::ShowBacklightButtons() {
    for (const geo::BacklightButton& button : geo::kBacklightButtons)
        ShowIndicator(button.picture, false);
    for (const geo::BacklightButton& button : geo::kBacklightButtons)
        if (button.color == state_.settings.backlight) ShowIndicator(button.picture, true);
}

void SkinRenderer::ShowAlarmEnable() {
    ShowIndicator(geo::kAlarmSwitch, state_.panel.alarmEnabled);
}

}  // namespace kestrelon
