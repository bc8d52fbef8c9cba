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
    if (reply.empty()) return;
    if (link_.failuresInARow() > 0 && isReading(row.channels)) {
        // A failed read leaves a reply of zeros; that is no temperature or speed of 0.
        const auto [first, second] = channelsOf(row.pair);
        readingValues(state_, row.channels)[first].reset();
        readingValues(state_, row.channels)[second].reset();
        return;
    }
    decodeReply(row, reply, state_);
}

void PushReport::add(uint8_t reg, WriteOutcome outcome) {
    if (outcome == WriteOutcome::Written)
        ++written;
    else
        notWritten.emplace_back(reg, outcome);
}

void PushReport::add(const PushReport& other) {
    written += other.written;
    notWritten.insert(notWritten.end(), other.notWritten.begin(), other.notWritten.end());
}

std::string PushReport::text() const {
    std::string out;
    for (const auto& [reg, outcome] : notWritten) {
        char line[120];
        std::snprintf(line, sizeof line, "%sREG%02X not written: %s", out.empty() ? "" : "; ", reg,
                      describe(outcome));
        out += line;
    }
    return out;
}

WriteOutcome PanelProtocol::push(const RegisterRow& row) {
    PanelLink::Scope scope(link_);
    if (!scope) {
        logSkipped(row.reg, "the panel is busy with another exchange");
        return WriteOutcome::Busy;
    }
    if (row.eeprom_guard && !link_.WaitEepromIdle()) {
        logSkipped(row.reg, "the panel's EEPROM stayed busy for 2 s");
        return WriteOutcome::Busy;
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

WriteOutcome PanelProtocol::PushStatusRegister() {
    return push(registerRow(RegisterFamily::Status));
}
WriteOutcome PanelProtocol::PushTempLimits() {
    return push(registerRow(RegisterFamily::TempLimits));
}
WriteOutcome PanelProtocol::PushTempLimitsF() {
    return push(registerRow(RegisterFamily::TempLimitsF));
}
WriteOutcome PanelProtocol::PushAlarmTime() {
    return push(registerRow(RegisterFamily::AlarmTime));
}

WriteOutcome PanelProtocol::PushFanSetpoints(ChannelPair pair) {
    return push(registerRow(RegisterFamily::FanSetpoints, pair));
}

WriteOutcome PanelProtocol::PushManualFanSpeeds(ChannelPair pair) {
    return push(registerRow(RegisterFamily::ManualFanSpeeds, pair));
}

PushReport PanelProtocol::PushAllSettings() {
    PushReport report;
    PanelLink::Scope scope(link_);
    if (!scope) {
        LogLine("settings push refused: the panel is busy with another exchange");
        for (uint8_t reg : kFullPushOrder) report.add(reg, WriteOutcome::Busy);
        return report;
    }
    for (uint8_t reg : kFullPushOrder) {
        report.add(reg, push(*findRegister(reg)));
        link_.Delay(kFullPushGapMs);
    }
    return report;
}

}  // namespace kestrelon
