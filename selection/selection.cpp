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
        renderer_.ShowSensorIcon(item.channel);
    } else if (const auto icon = iconOf(item)) {
        renderer_.ShowSkinPicture(icon->picture, icon->onWindow.x, icon->onWindow.y,
                                  geo::Surface::Mainback);
    }
}

void Selection::ResetFlashIcons() {
    const auto handOver = [this](int code, int16_t flag) {
        const auto item = itemOf(code);
        if (!item || item->kind == ItemKind::None) return;
        if (item->kind == ItemKind::AlarmHour || item->kind == ItemKind::AlarmMinute) {
            renderer_.DrawAlarmSetting(kAlarmWhole);  // the alarm's own flags stay as they are
            return;
        }
        DrawNormal(*item);
        s_.flash[static_cast<std::size_t>(item->code)] = flag;
    };
    handOver(s_.old_flash_num, 0);
    handOver(s_.new_flash_num, 1);
    renderer_.ShowMainback();
}

void Selection::HandOver(int code) {
    s_.old_flash_num = s_.new_flash_num;
    s_.new_flash_num = static_cast<int16_t>(code);
    ResetFlashIcons();
}

void Selection::Toggle(int code) {
    const auto item = itemOf(code);
    if (!item || !isIcon(item->kind)) return;
    int16_t& flag = s_.flash[static_cast<std::size_t>(code)];
    if (flag == 0) {
        flag = 1;
        HandOver(code);
        s_.flash_trg_time = now();
        if (item->kind == ItemKind::Sensor) s_.auto_scan = false;
    } else if (flag == 1) {
        flag = 0;
        HandOver(kNoItem);
        if (item->kind == ItemKind::Sensor) s_.auto_scan = true;
    }
}

void Selection::ClearWingSelection(ItemKind group) {
    for (const SelectionItem& item : kSelectionItems)
        if (item.kind == group) s_.flash[static_cast<std::size_t>(item.code)] = 0;
    HandOver(kNoItem);
}

void Selection::FlashItem(const SelectionItem& item) {
    double& changed = s_.flash_time[static_cast<std::size_t>(item.code)];
    const double t = now();
    if (t - changed <= kBlinkStepSeconds) return;
    changed = t;
    s_.Flash_static = s_.Flash_static == 1 ? 0 : 1;
    const bool blink = s_.Flash_static == 1;
    if (item.kind == ItemKind::AlarmHour || item.kind == ItemKind::AlarmMinute) {
        const int blank = item.kind == ItemKind::AlarmHour ? kAlarmWithoutHour : kAlarmWithoutMinute;
        renderer_.DrawAlarmSetting(blink ? blank : kAlarmWhole);  // shows the window itself
        return;
    }
    if (!blink) {
        DrawNormal(item);
    } else if (const auto icon = iconOf(item)) {
        renderer_.ShowSkinPicture(icon->blink, icon->onWindow.x, icon->onWindow.y,
                                  geo::Surface::Mainback);
    }
    renderer_.ShowMainback();
}

void Selection::Timer2_Timer() {
    for (const SelectionItem& item : kSelectionItems) {
        const int16_t flag = s_.flash[static_cast<std::size_t>(item.code)];
        if (flag != 1) continue;
        if ((item.kind == ItemKind::AlarmHour && !s_.set_alarm_hour) ||
            (item.kind == ItemKind::AlarmMinute && !s_.set_alarm_min))
            continue;
        if (item.kind != ItemKind::None) FlashItem(item);
    }
    const double t = now();
    if ((s_.set_alarm_hour || s_.set_alarm_min) &&
        std::fabs(t - s_.set_alarm_trg_time) > kSelectionTimeoutSeconds) {
        s_.set_alarm_hour = false;
        s_.set_alarm_min = false;
        renderer_.DrawAlarmSetting(kAlarmWhole);
        ResetFlashIcons();
    }
    if (s_.auto_scan && s_.new_flash_num != kNoItem &&
        std::fabs(t - s_.flash_trg_time) > kSelectionTimeoutSeconds)
        HandOver(kNoItem);
}

bool Selection::timerNeeded() const {
    if (s_.set_alarm_hour || s_.set_alarm_min || s_.new_flash_num != kNoItem) return true;
    for (int16_t flag : s_.flash)
        if (flag == 1) return true;
    return false;
}

}  // namespace kestrelon
