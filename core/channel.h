// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's four channels (a temperature sensor and a fan each) and a value per channel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrelon {

// In the panel's own order: its registers, the settings file's keys (st1..st4) and the window's
// rows all number the channels 1..4 in this order.
enum class Channel : uint8_t { Cpu, Hdd, Vga, Case };

inline constexpr int kChannels = 4;
inline constexpr std::array<Channel, kChannels> kAllChannels{Channel::Cpu, Channel::Hdd,
                                                             Channel::Vga, Channel::Case};

// The channel's number in the panel's and the settings file's formats: 1..4.
constexpr int channelNumber(Channel channel) {
    return static_cast<int>(channel) + 1;
}
// The channel numbered 1..4; nothing for any other number.
constexpr std::optional<Channel> channelFromNumber(int number) {
    if (number < 1 || number > kChannels) return std::nullopt;
    return static_cast<Channel>(number - 1);
}
constexpr std::size_t channelIndex(Channel channel) {
    return static_cast<std::size_t>(channel);
}
// The channel's short name in lower case: "cpu", "hdd", "vga", "case".
constexpr std::string_view channelName(Channel channel) {
    constexpr std::array<std::string_view, kChannels> names{"cpu", "hdd", "vga", "case"};
    return channelIndex(channel) < names.size() ? names[channelIndex(channel)] : "?";
}

// Four values, one per channel.
template <typename T>
struct PerChannel {
    std::array<T, kChannels> values{};

    T& operator[](Channel channel) { return values.at(channelIndex(channel)); }
    const T& operator[](Channel channel) const { return values.at(channelIndex(channel)); }
    bool operator==(const PerChannel&) const = default;
};

}  // namespace kestrelon
