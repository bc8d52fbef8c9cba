// SPDX-License-Identifier: GPL-3.0-or-later
// The exchanges of one poll and one settings push, in the program's order, and the byte layout
// in which a fuzz input (or a recorded session) gives the panel's side of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/panel_protocol.h"

namespace kestrelon::fuzz {

// Input layout: bytes 0-1 the input report length L (10 bits, low byte first), byte 2 the output
// report length; then, for every feature read in turn, one control byte (top bit set: the read
// fails) and the L bytes it returns, report ID first. A read past the end of the input fails.
inline constexpr size_t kSessionHeaderSize = 3;
inline constexpr uint8_t kReadFails = 0x80;

struct SessionStep {
    const char* name;
    void (*run)(PanelProtocol&);
};

inline constexpr std::array<SessionStep, 9> kPanelSession{{
    {"temperatures 1-2", [](PanelProtocol& p) { p.ReadTemps(ChannelPair::First); }},
    {"temperatures 3-4", [](PanelProtocol& p) { p.ReadTemps(ChannelPair::Second); }},
    {"fans 1-2", [](PanelProtocol& p) { p.ReadFans(ChannelPair::First); }},
    {"fans 3-4", [](PanelProtocol& p) { p.ReadFans(ChannelPair::Second); }},
    {"fan limits 1-2", [](PanelProtocol& p) { p.ReadFanLimits(ChannelPair::First); }},
    {"fan limits 3-4", [](PanelProtocol& p) { p.ReadFanLimits(ChannelPair::Second); }},
    {"status push", [](PanelProtocol& p) { p.PushStatusRegister(); }},
    {"fan set points push", [](PanelProtocol& p) { p.PushFanSetpoints(ChannelPair::Second); }},
    {"clock", [](PanelProtocol& p) { p.SyncClock(); }},
}};

}  // namespace kestrelon::fuzz
