// SPDX-License-Identifier: GPL-3.0-or-later
// The selectable items by code: the sensor, fan and limit icons and the alarm's two fields.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "skin/geometry.h"

namespace kestrelon {

enum class ItemKind { None, Sensor, AlarmHour, AlarmMinute, Fan, Limit };

struct SelectionItem {
    int code;
    ItemKind kind;
    std::optional<Channel> channel;  // none for the alarm fields and "nothing"
};

inline constexpr int kNoItem = 0;
inline constexpr int kAlarmHourItem = 5;
inline constexpr int kAlarmMinuteItem = 6;

// Indexed by code. Each icon group runs CPU, case, VGA, HDD, the order the blink tick visits them.
inline constexpr std::array<SelectionItem, 15> kSelectionItems{{
    {0, ItemKind::None, std::nullopt},
    {1, ItemKind::Sensor, Channel::Cpu},
    {2, ItemKind::Sensor, Channel::Case},
    {3, ItemKind::Sensor, Channel::Vga},
    {4, ItemKind::Sensor, Channel::Hdd},
    {5, ItemKind::AlarmHour, std::nullopt},
    {6, ItemKind::AlarmMinute, std::nullopt},
    {7, ItemKind::Fan, Channel::Cpu},
    {8, ItemKind::Fan, Channel::Case},
    {9, ItemKind::Fan, Channel::Vga},
    {10, ItemKind::Fan, Channel::Hdd},
    {11, ItemKind::Limit, Channel::Cpu},
    {12, ItemKind::Limit, Channel::Case},
    {13, ItemKind::Limit, Channel::Vga},
    {14, ItemKind::Limit, Channel::Hdd},
}};

// The item of a code, or nothing for a code outside 0..14.
constexpr std::optional<SelectionItem> itemOf(int code) {
    if (code < 0 || code >= static_cast<int>(kSelectionItems.size())) return std::nullopt;
    return kSelectionItems[static_cast<std::size_t>(code)];
}

constexpr bool isIcon(ItemKind kind) {
    return kind == ItemKind::Sensor || kind == ItemKind::Fan || kind == ItemKind::Limit;
}

// The icon's pictures and its place on the window (icons inside the LCD are offset by its origin).
struct ItemIcon {
    std::string_view picture, blink;
    geo::Point onWindow;
};
constexpr std::optional<ItemIcon> iconOf(const SelectionItem& item) {
    geo::IconRow row = geo::IconRow::Sensor;
    if (item.kind == ItemKind::Fan) row = geo::IconRow::Fan;
    else if (item.kind == ItemKind::Limit) row = geo::IconRow::Threshold;
    else if (item.kind != ItemKind::Sensor) return std::nullopt;
    for (const geo::Icon& icon : geo::kIcons) {
        if (icon.row != row || icon.channel != item.channel) continue;
        geo::Point at = icon.at;
        if (icon.target == geo::Surface::Lcd)
            at = {at.x + geo::kLcdOrigin.x, at.y + geo::kLcdOrigin.y};
        return ItemIcon{icon.picture, icon.highlighted, at};
    }
    return std::nullopt;
}

}  // namespace kestrelon
