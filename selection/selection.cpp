// SPDX-License-Identifier: GPL-3.0-or-later
// Selection blinking and its time-outs.
#include "selection/selection.h"

#include <cmath>

namespace kestrelon {

namespace {

// Alarm panel modes: whole time, without the hour, without the minute.
constexpr int kAlarmWhole = 0;
constexpr int kAlarmWithoutHour = 1;
constexpr int kAlarmWithoutMinute = 2;

}  // namespace

Selection::Selection(MonitorState& state, SkinRenderer& renderer, const Clock& clock)
    : s_(state), renderer_(renderer), clock_(clock) {}

void Selection::DrawNormal(const SelectionItem& item) {
    if (item.kind == ItemKind::Sensor) {
        renderer_.ShowSensorIcon(*item.channel);
    } else if (const auto icon = iconOf(item)) {
        renderer_.ShowSkinPicture(icon->picture, icon->onWindow.x, icon->onWindow.y,
                                  geo::Surface::Window);
    }
}

void Selection::StopBlinking() {
    const auto handOver = [this](int code, int16_t flag) {
        const auto item = itemOf(code);
        if (!item || item->kind == ItemKind::None) return;
        if (item->kind == ItemKind::AlarmHour || item->kind == ItemKind::AlarmMinute) {
            renderer_.DrawAlarmSetting(kAlarmWhole);  // the alarm's own flags stay as they are
            return;
        }
        DrawNormal(*item);
        s_.ui.blinking[static_cast<std::size_t>(item->code)] = flag;
    };
    handOver(s_.ui.previousItem, 0);
    handOver(s_.ui.selectedItem, 1);
    renderer_.ShowWindowPicture();
}

void Selection::HandOver(int code) {
    s_.ui.previousItem = s_.ui.selectedItem;
    s_.ui.selectedItem = static_cast<int16_t>(code);
    StopBlinking();
}

void Selection::Toggle(int code) {
    const auto item = itemOf(code);
    if (!item || !isIcon(item->kind)) return;
    int16_t& flag = s_.ui.blinking[static_cast<std::size_t>(code)];
    if (flag == 0) {
        flag = 1;
        HandOver(code);
        s_.ui.selectionTouchedAt = now();
        if (item->kind == ItemKind::Sensor) s_.poll.lcdScanning = false;
    } else if (flag == 1) {
        flag = 0;
        HandOver(kNoItem);
        if (item->kind == ItemKind::Sensor) s_.poll.lcdScanning = true;
    }
}

void Selection::ClearWingSelection(ItemKind group) {
    for (const SelectionItem& item : kSelectionItems)
        if (item.kind == group) s_.ui.blinking[static_cast<std::size_t>(item.code)] = 0;
    HandOver(kNoItem);
}

void Selection::BlinkItem(const SelectionItem& item) {
    double& changed = s_.ui.blinkChangedAt[static_cast<std::size_t>(item.code)];
    const double t = now();
    if (t - changed <= kBlinkStepSeconds) return;
    changed = t;
    s_.ui.blinkPhase = s_.ui.blinkPhase == 1 ? 0 : 1;
    const bool blink = s_.ui.blinkPhase == 1;
    if (item.kind == ItemKind::AlarmHour || item.kind == ItemKind::AlarmMinute) {
        const int blank =
            item.kind == ItemKind::AlarmHour ? kAlarmWithoutHour : kAlarmWithoutMinute;
        renderer_.DrawAlarmSetting(blink ? blank : kAlarmWhole);  // shows the window itself
        return;
    }
    if (!blink) {
        DrawNormal(item);
    } else if (const auto icon = iconOf(item)) {
        renderer_.ShowSkinPicture(icon->blink, icon->onWindow.x, icon->onWindow.y,
                                  geo::Surface::Window);
    }
    renderer_.ShowWindowPicture();
}

void Selection::onBlinkTick() {
    for (const SelectionItem& item : kSelectionItems) {
        const int16_t flag = s_.ui.blinking[static_cast<std::size_t>(item.code)];
        if (flag != 1) continue;
        if ((item.kind == ItemKind::AlarmHour && (s_.ui.alarmEdit != AlarmEdit::Hour)) ||
            (item.kind == ItemKind::AlarmMinute && (s_.ui.alarmEdit != AlarmEdit::Minute)))
            continue;
        if (item.kind != ItemKind::None) BlinkItem(item);
    }
    const double t = now();
    if ((s_.ui.alarmEdit != AlarmEdit::None) &&
        std::fabs(t - s_.ui.alarmEditTouchedAt) > kSelectionTimeoutSeconds) {
        s_.ui.alarmEdit = AlarmEdit::None;
        renderer_.DrawAlarmSetting(kAlarmWhole);
        StopBlinking();
    }
    if (s_.poll.lcdScanning && s_.ui.selectedItem != kNoItem &&
        std::fabs(t - s_.ui.selectionTouchedAt) > kSelectionTimeoutSeconds)
        HandOver(kNoItem);
}

bool Selection::timerNeeded() const {
    if (s_.ui.alarmEdit != AlarmEdit::None || s_.ui.selectedItem != kNoItem) return true;
    for (int16_t flag : s_.ui.blinking)
        if (flag == 1) return true;
    return false;
}

}  // namespace kestrelon
