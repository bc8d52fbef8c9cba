// SPDX-License-Identifier: GPL-3.0-or-later
// Reads, clock set and pushes over the panel link, all through the register table.
#include "device/panel_protocol.h"

#include <array>
#include <cstdio>

#include "core/log.h"
#include "device/register_codec.h"

namespace kestrelon {

namespace {

// The full push after start-up, in order; each write is followed by a 100 ms wait.
constexpr std::array<uint8_t, 8> kFullPushOrder{0x29, 0x20, 0x21, 0x24, 0x25, 0x2B, 0x2C, 0x28};
constexpr int kFullPushGapMs = 100;

void logSkipped(uint8_t reg, const char* why) {
    char text[120];
    std::snprintf(text, sizeof text, "REG%02X not written: %s", reg, why);
    LogLine(text);
}

}  // namespace

PanelProtocol::PanelProtocol(PanelLink& link, MonitorState& state) : link_(link), state_(state) {}

void PanelProtocol::read(RegisterFamily family, ChannelPair pair) {
    const RegisterRow& row = registerRow(family, pair);
    std::vector<uint8_t> reply = link_.readRegister(row.reg, row.wait_ms);
    if (!reply.empty()) decodeReply(row, reply, state_);
}

bool PanelProtocol::push(const RegisterRow& row) {
    PanelLink::Scope scope(link_);
    if (!scope) {
        logSkipped(row.reg, "the panel is busy with another exchange");
        return false;
    }
    if (row.eeprom_guard && !link_.WaitEepromIdle()) {
        logSkipped(row.reg, "the panel's EEPROM stayed busy for 2 s");
        return false;
    }
    RequestParams params = encodeRequest(row, state_);
    return link_.writeRegister(row.reg, params, row.wait_ms, row.fetch_reply);
}

void PanelProtocol::ReadTemps(ChannelPair pair) {
    read(RegisterFamily::Temps, pair);
}
void PanelProtocol::ReadFans(ChannelPair pair) {
    read(RegisterFamily::Fans, pair);
}
void PanelProtocol::ReadFanLimits(ChannelPair pair) {
    read(RegisterFamily::FanLimits, pair);
}
void PanelProtocol::SyncClock() {
    push(registerRow(RegisterFamily::Clock));
}

void PanelProtocol::PushStatusRegister() {
    push(registerRow(RegisterFamily::Status));
}
void PanelProtocol::PushTempLimits() {
    push(registerRow(RegisterFamily::TempLimits));
}
void PanelProtocol::PushTempLimitsF() {
    push(registerRow(RegisterFamily::TempLimitsF));
}
void PanelProtocol::PushAlarmTime() {
    push(registerRow(RegisterFamily::AlarmTime));
}

void PanelProtocol::PushFanSetpoints(ChannelPair pair) {
    push(registerRow(RegisterFamily::FanSetpoints, pair));
}

void PanelProtocol::PushManualFanSpeeds(ChannelPair pair) {
    push(registerRow(RegisterFamily::ManualFanSpeeds, pair));
}

void PanelProtocol::PushAllSettings() {
    PanelLink::Scope scope(link_);
    if (!scope) {
        LogLine("settings push refused: the panel is busy with another exchange");
        return;
    }
    for (uint8_t reg : kFullPushOrder) {
        push(*findRegister(reg));
        link_.Delay(kFullPushGapMs);
    }
}

}  // namespace kestrelon
