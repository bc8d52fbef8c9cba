// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's registers as one table: number, direction, wait, EEPROM guard and the model's
// values each one carries. Every read and every push is driven by a row of this table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/monitor_state.h"

namespace kestrelon {

// The two halves of the four-channel families: CPU and HDD, VGA and case.
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
    Ignored,            // no reply, or one that only replaces the last reply
    NoSensor255,        // two words; exactly 255 means no sensor: the reading is missing
    AsRead,             // two words kept as read
    RoundDownHundreds,  // two words rounded down to a multiple of 100
    BusyFlag,           // byte 4 non-zero = EEPROM busy
};

// Which of the model's per-channel values a register carries.
enum class ChannelField : uint8_t {
    None,
    Temperature,
    FanSpeed,
    FanLimit,
    LimitCelsius,
    LimitFahrenheit,
    FanSetPoint,
    ManualFanSpeed,
};

// Which time of day a time record carries.
enum class TimeField : uint8_t { None, Clock, Alarm };

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
    ChannelField channels;  // the per-channel values it carries
    TimeField time;         // the time of day of a time record
};

// The model's per-channel values, and a time record's time of day ("HH:MM"). Temperatures and
// fan speeds are readings, which may be missing: readingValues holds those, channelValues the
// rest.
bool isReading(ChannelField field);
PerChannel<Reading>& readingValues(MonitorState& state, ChannelField field);
PerChannel<int32_t>& channelValues(MonitorState& state, ChannelField field);
const PerChannel<int32_t>& channelValues(const MonitorState& state, ChannelField field);
const std::string& timeText(const MonitorState& state, TimeField field);

inline constexpr std::array<RegisterRow, 16> kRegisterMap{{
    // clang-format off
    {0x14, Direction::Read,  10, false, true,  RegisterFamily::Temps,           ChannelPair::First,  Payload::None,         ReplyRule::NoSensor255,       ChannelField::Temperature,     TimeField::None},
    {0x15, Direction::Read,  10, false, true,  RegisterFamily::Temps,           ChannelPair::Second, Payload::None,         ReplyRule::NoSensor255,       ChannelField::Temperature,     TimeField::None},
    {0x18, Direction::Read,  10, false, true,  RegisterFamily::Fans,            ChannelPair::First,  Payload::None,         ReplyRule::AsRead,            ChannelField::FanSpeed,        TimeField::None},
    {0x19, Direction::Read,  10, false, true,  RegisterFamily::Fans,            ChannelPair::Second, Payload::None,         ReplyRule::AsRead,            ChannelField::FanSpeed,        TimeField::None},
    {0x1C, Direction::Read,  50, false, true,  RegisterFamily::EepromBusy,      ChannelPair::First,  Payload::None,         ReplyRule::BusyFlag,          ChannelField::None,            TimeField::None},
    {0x1D, Direction::Read,  10, false, true,  RegisterFamily::FanLimits,       ChannelPair::First,  Payload::None,         ReplyRule::RoundDownHundreds, ChannelField::FanLimit,        TimeField::None},
    {0x1E, Direction::Read,  10, false, true,  RegisterFamily::FanLimits,       ChannelPair::Second, Payload::None,         ReplyRule::RoundDownHundreds, ChannelField::FanLimit,        TimeField::None},
    {0x20, Direction::Write, 50, true,  false, RegisterFamily::TempLimits,      ChannelPair::First,  Payload::ChannelBytes, ReplyRule::Ignored,           ChannelField::LimitCelsius,    TimeField::None},
    {0x21, Direction::Write, 50, true,  false, RegisterFamily::TempLimitsF,     ChannelPair::First,  Payload::ChannelBytes, ReplyRule::Ignored,           ChannelField::LimitFahrenheit, TimeField::None},
    {0x24, Direction::Write, 50, true,  false, RegisterFamily::FanSetpoints,    ChannelPair::First,  Payload::PairWords,    ReplyRule::Ignored,           ChannelField::FanSetPoint,     TimeField::None},
    {0x25, Direction::Write, 50, true,  false, RegisterFamily::FanSetpoints,    ChannelPair::Second, Payload::PairWords,    ReplyRule::Ignored,           ChannelField::FanSetPoint,     TimeField::None},
    {0x28, Direction::Write, 50, false, true,  RegisterFamily::Clock,           ChannelPair::First,  Payload::TimeRecord,   ReplyRule::Ignored,           ChannelField::None,            TimeField::Clock},
    {0x29, Direction::Write, 50, true,  false, RegisterFamily::Status,          ChannelPair::First,  Payload::StatusBits,   ReplyRule::Ignored,           ChannelField::None,            TimeField::None},
    {0x2A, Direction::Write, 10, true,  false, RegisterFamily::AlarmTime,       ChannelPair::First,  Payload::TimeRecord,   ReplyRule::Ignored,           ChannelField::None,            TimeField::Alarm},
    {0x2B, Direction::Write, 10, true,  false, RegisterFamily::ManualFanSpeeds, ChannelPair::First,  Payload::PairWords,    ReplyRule::Ignored,           ChannelField::ManualFanSpeed,  TimeField::None},
    {0x2C, Direction::Write, 10, true,  false, RegisterFamily::ManualFanSpeeds, ChannelPair::Second, Payload::PairWords,    ReplyRule::Ignored,           ChannelField::ManualFanSpeed,  TimeField::None},
    // clang-format on
}};

inline constexpr uint8_t kEepromBusyRegister = 0x1C;

// The row of a family member; families without pairs have only a First row.
const RegisterRow& registerRow(RegisterFamily family, ChannelPair pair = ChannelPair::First);
// The row of a register number, or null for a register the panel does not have.
const RegisterRow* findRegister(uint8_t reg);

// The two channels of a pair, in the order a frame carries them.
constexpr std::array<Channel, 2> channelsOf(ChannelPair pair) {
    if (pair == ChannelPair::First) return {Channel::Cpu, Channel::Hdd};
    return {Channel::Vga, Channel::Case};
}
// The pair a channel belongs to.
constexpr ChannelPair pairOf(Channel channel) {
    return channel == Channel::Cpu || channel == Channel::Hdd ? ChannelPair::First
                                                              : ChannelPair::Second;
}

}  // namespace kestrelon
