// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's registers as one table: number, direction, wait, EEPROM guard and the monitor-state
// variables each one carries. Every read and every push is driven by a row of this table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/monitor_state.h"

namespace kestrelon {

// The two halves of the four-channel families: channels (fans) 1-2 and 3-4.
enum class ChannelPair { First, Second };

enum class Direction : uint8_t { Read, Write };

enum class RegisterFamily : uint8_t {
    Temps,            // ReadTemps
    Fans,             // ReadFans
    FanLimits,        // ReadFanLimits
    EepromBusy,       // ReadEepromBusy
    TempLimits,       // PushTempLimits
    TempLimitsF,      // PushTempLimitsF
    FanSetpoints,     // PushFanSetpoints
    Clock,            // SyncClock
    Status,           // PushStatusRegister
    AlarmTime,        // PushAlarmTime
    ManualFanSpeeds,  // PushManualFanSpeeds
};

// How request bytes 2..7 are filled.
enum class Payload : uint8_t {
    None,          // all 0
    ChannelBytes,  // bytes 2..5: channels 1..4, one byte each
    PairWords,     // bytes 2-3 and 4-5: the pair's two channels, low byte first
    TimeRecord,    // bytes 2..4 date (BCD), 5 hour, 6 minute (BCD) from a time text
    StatusBits,    // the status register's mode, unit, volume, LCD and backlight bytes
};

// How the reply is decoded.
enum class ReplyRule : uint8_t {
    Ignored,            // no reply, or one that only replaces input_data
    NoSensor255,        // two words; exactly 255 means no sensor and is stored as 0
    AsRead,             // two words kept as read
    RoundDownHundreds,  // two words rounded down to a multiple of 100
    BusyFlag,           // byte 4 non-zero = EEPROM busy
};

struct RegisterRow {
    uint8_t reg;
    Direction direction;
    int wait_ms;        // wait after the request (settle time of a write)
    bool eeprom_guard;  // the write waits for an idle EEPROM first
    bool fetch_reply;   // a feature report is read after the wait
    RegisterFamily family;
    ChannelPair pair;
    Payload payload;
    ReplyRule reply;
    PerChannel<int32_t> MonitorState::*channels;  // per-channel variables, or null
    std::string MonitorState::*time_text;         // "HH:MM" text of a time record, or null
};

inline constexpr std::array<RegisterRow, 16> kRegisterMap{{
    // clang-format off
    {0x14, Direction::Read,  10, false, true,  RegisterFamily::Temps,           ChannelPair::First,  Payload::None,         ReplyRule::NoSensor255,       &MonitorState::new_t, nullptr},
    {0x15, Direction::Read,  10, false, true,  RegisterFamily::Temps,           ChannelPair::Second, Payload::None,         ReplyRule::NoSensor255,       &MonitorState::new_t, nullptr},
    {0x18, Direction::Read,  10, false, true,  RegisterFamily::Fans,            ChannelPair::First,  Payload::None,         ReplyRule::AsRead,            &MonitorState::new_f, nullptr},
    {0x19, Direction::Read,  10, false, true,  RegisterFamily::Fans,            ChannelPair::Second, Payload::None,         ReplyRule::AsRead,            &MonitorState::new_f, nullptr},
    {0x1C, Direction::Read,  50, false, true,  RegisterFamily::EepromBusy,      ChannelPair::First,  Payload::None,         ReplyRule::BusyFlag,          nullptr,              nullptr},
    {0x1D, Direction::Read,  10, false, true,  RegisterFamily::FanLimits,       ChannelPair::First,  Payload::None,         ReplyRule::RoundDownHundreds, &MonitorState::lf,    nullptr},
    {0x1E, Direction::Read,  10, false, true,  RegisterFamily::FanLimits,       ChannelPair::Second, Payload::None,         ReplyRule::RoundDownHundreds, &MonitorState::lf,    nullptr},
    {0x20, Direction::Write, 50, true,  false, RegisterFamily::TempLimits,      ChannelPair::First,  Payload::ChannelBytes, ReplyRule::Ignored,           &MonitorState::st,    nullptr},
    {0x21, Direction::Write, 50, true,  false, RegisterFamily::TempLimitsF,     ChannelPair::First,  Payload::ChannelBytes, ReplyRule::Ignored,           &MonitorState::fst,   nullptr},
    {0x24, Direction::Write, 50, true,  false, RegisterFamily::FanSetpoints,    ChannelPair::First,  Payload::PairWords,    ReplyRule::Ignored,           &MonitorState::sf,    nullptr},
    {0x25, Direction::Write, 50, true,  false, RegisterFamily::FanSetpoints,    ChannelPair::Second, Payload::PairWords,    ReplyRule::Ignored,           &MonitorState::sf,    nullptr},
    {0x28, Direction::Write, 50, false, true,  RegisterFamily::Clock,           ChannelPair::First,  Payload::TimeRecord,   ReplyRule::Ignored,           nullptr,              &MonitorState::time_hour},
    {0x29, Direction::Write, 50, true,  false, RegisterFamily::Status,          ChannelPair::First,  Payload::StatusBits,   ReplyRule::Ignored,           nullptr,              nullptr},
    {0x2A, Direction::Write, 10, true,  false, RegisterFamily::AlarmTime,       ChannelPair::First,  Payload::TimeRecord,   ReplyRule::Ignored,           nullptr,              &MonitorState::alarm_time},
    {0x2B, Direction::Write, 10, true,  false, RegisterFamily::ManualFanSpeeds, ChannelPair::First,  Payload::PairWords,    ReplyRule::Ignored,           &MonitorState::msf,   nullptr},
    {0x2C, Direction::Write, 10, true,  false, RegisterFamily::ManualFanSpeeds, ChannelPair::Second, Payload::PairWords,    ReplyRule::Ignored,           &MonitorState::msf,   nullptr},
    // clang-format on
}};

inline constexpr uint8_t kEepromBusyRegister = 0x1C;

// The row of a family member; families without pairs have only a First row.
const RegisterRow& registerRow(RegisterFamily family, ChannelPair pair = ChannelPair::First);
// The row of a register number, or null for a register the panel does not have.
const RegisterRow* findRegister(uint8_t reg);

// First channel of a pair: 1 or 3.
constexpr int firstChannel(ChannelPair pair) {
    return pair == ChannelPair::First ? 1 : 3;
}

}  // namespace kestrelon
