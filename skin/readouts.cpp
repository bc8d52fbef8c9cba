// SPDX-License-Identifier: GPL-3.0-or-later
// Readout panels: temperatures, fan speeds, limits and set values, the clock and the host facts.
// A panel is built on gr_temp1 (background, then glyphs) and copied to its place.
#include <cstdio>

#include "core/log.h"
#include "skin/number_text.h"
#include "skin/raster.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

namespace {

struct ReadoutRule {
    geo::ReadoutKind kind;
    NumberPattern pattern;
    int32_t ceiling;  // values above it, like 0, show as "----"
};
constexpr ReadoutRule kReadoutRules[] = {
    {geo::ReadoutKind::Temp, NumberPattern::TwoDigits, 254},
    {geo::ReadoutKind::Fan, NumberPattern::LeadingZero, 65534},
    {geo::ReadoutKind::Threshold, NumberPattern::TwoDigits, 254},
    {geo::ReadoutKind::FanSet, NumberPattern::LeadingZero, 65534},
};

const ReadoutRule& ruleFor(geo::ReadoutKind kind) {
    for (const ReadoutRule& rule : kReadoutRules)
        if (rule.kind == kind) return rule;
    return kReadoutRules[0];
}

const geo::Readout* findReadout(geo::ReadoutKind kind, Channel channel) {
    for (const geo::Readout& readout : geo::kReadouts)
        if (readout.kind == kind && readout.channel == channel) return &readout;
    return nullptr;
}

int32_t readoutValue(const MonitorState& state, geo::ReadoutKind kind, Channel channel) {
    switch (kind) {
        case geo::ReadoutKind::Temp:
            return state.readings.shownTemperature[channel];
        case geo::ReadoutKind::Fan:
            return state.readings.shownFanSpeed[channel];
        case geo::ReadoutKind::Threshold:
            return state.settings.fahrenheit() ? state.settings.limitFahrenheit[channel]
                                               : state.settings.limitCelsius[channel];
        case geo::ReadoutKind::FanSet:
            break;
    }
    return state.settings.fansAutomatic() ? state.settings.fanSetPoint[channel]
                                          : state.settings.manualFanSpeed[channel];
}

int32_t hostValue(const MonitorState& state, geo::HostFact fact) {
    switch (fact) {
        case geo::HostFact::CpuClock:
            return state.host.processorMhz;
        case geo::HostFact::Memory:
            return state.host.memoryMb;
        case geo::HostFact::Disk:
            break;
    }
    return state.host.diskGb;
}

}  // namespace

void SkinRenderer::DrawSmallText(const std::string& text, geo::Point rightmost) {
    int x = rightmost.x;
    for (auto c = text.rbegin(); c != text.rend(); ++c) {
        DrawSmallDigits(x, rightmost.y, *c, scratch_);
        x -= geo::kSmallFont.advance;
    }
}

void SkinRenderer::DrawReadout(geo::ReadoutKind kind, Channel channel) {
    const geo::Readout* readout = findReadout(kind, channel);
    if (!readout) {
        LogLine("no readout for channel " + std::to_string(channelNumber(channel)));
        return;
    }
    const ReadoutRule& rule = ruleFor(kind);
    const std::string text =
        ReadoutText(readoutValue(state_, kind, channel), rule.pattern, rule.ceiling);
    if (!LoadScratch(readout->background)) return;
    DrawSmallText(text, readout->rightmost);
    blit(surface(readout->target), scratch_, readout->at.x, readout->at.y);
}

void SkinRenderer::DrawTempReadout(Channel channel) {
    DrawReadout(geo::ReadoutKind::Temp, channel);
}

void SkinRenderer::DrawFanReadout(Channel channel) {
    DrawReadout(geo::ReadoutKind::Fan, channel);
}

void SkinRenderer::DrawThresholdReadout(Channel channel) {
    DrawReadout(geo::ReadoutKind::Threshold, channel);
}

void SkinRenderer::DrawFanSetReadout(Channel channel) {
    DrawReadout(geo::ReadoutKind::FanSet, channel);
}

void SkinRenderer::DrawHostReadout(geo::HostFact fact) {
    const geo::HostUnits* units = nullptr;
    for (const geo::HostUnits& u : geo::kHostUnits)
        if (u.fact == fact) units = &u;
    for (const geo::HostReadout& readout : geo::kHostReadouts) {
        if (readout.fact != fact) continue;
        const FittedNumber shown =
            FitNumber(hostValue(state_, fact), geo::ReadoutDigits(readout.rightmost),
                      units ? static_cast<int>(units->pictures.size()) : 1);
        if (!LoadScratch(readout.background)) return;
        DrawSmallText(shown.text, readout.rightmost);
        blit(windowPicture_, scratch_, readout.at.x, readout.at.y);
        // The unit word changes with the value (drawn again, unchanged, for the readout's own).
        if (units && LoadScratch(units->pictures[static_cast<std::size_t>(shown.unit)]))
            blit(windowPicture_, scratch_, units->at.x, units->at.y);
        return;
    }
}

void SkinRenderer::DrawClockPanel() {
    if (LoadScratch(geo::kClockBackground)) {
        const std::string& text = state_.poll.shownMinute;
        for (std::size_t i = 0; i < 5 && i < text.size(); ++i)
            DrawMediumDigits(geo::kMediumFont.advance * static_cast<int>(i), 0, text[i], scratch_);
        blit(windowPicture_, scratch_, geo::kClockAt.x, geo::kClockAt.y);
    }
    ShowWindowPicture();
}

}  // namespace kestrelon
