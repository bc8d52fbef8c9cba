// SPDX-License-Identifier: GPL-3.0-or-later
// The program's model: the settings, what the panel reported, the panel's status, the host's
// facts and what only the window has. Each part is named by what it holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/channel.h"
#include "core/settings_model.h"

namespace kestrelon {

// A value read from the panel, or nothing: no sensor on the channel (the panel answers 255), or
// no panel answering.
using Reading = std::optional<int32_t>;

// Temperatures and fan speeds as read, in the unit the panel shows, and what the readouts show.
struct Readings {
    PerChannel<Reading> temperature;       // the latest reading
    PerChannel<int32_t> shownTemperature;  // the value the readout shows; a missing one shows as 0
    PerChannel<Reading> fanSpeed;          // rpm, the latest reading
    PerChannel<int32_t> shownFanSpeed;     // rpm, the value the readout shows; 0 when missing
    PerChannel<int32_t> fanLimit;          // each fan's highest speed; 0 until the panel reports it

    bool operator==(const Readings&) const = default;
};

// The panel's own state and our link to it.
struct PanelStatus {
    int16_t volumeLevel = 0;      // the panel's volume level, 0..28
    int16_t sentVolumeLevel = 0;  // the level the status register last carried
    int16_t lcdSensor = 0;        // the sensor the panel's LCD shows, 0..3
    bool alarmEnabled = false;
    bool saveToEeprom = true;  // bit 2 of the status register's mode byte
    bool eepromBusy = false;   // as last read
    bool present = false;      // a panel answers
    std::string lastReply;     // the last reply as "HH," pairs
    std::string dateText;      // the date of clock and alarm records; never filled
};

// The poll cycle's own state.
struct PollState {
    std::string shownMinute;    // "HH:MM" on the clock panel and in the panel's clock
    std::string currentMinute;  // "HH:MM" now
    bool lcdScanning = false;   // the panel's LCD cycles through the sensors
    bool internetLinked = false;
    int16_t ticksSinceProbe = 0;
};

// Facts about this machine shown on the side panel, and its master volume.
struct HostFacts {
    int32_t processorMhz = 0;
    int32_t memoryMb = 0;
    int32_t diskGb = 0;          // the system drive
    int32_t masterVolume = 0;    // percent, as last shown
    int32_t newMasterVolume = 0; // percent, as last read
};

enum class CursorKind : int16_t { Arrow = 0, Hand = 1, Move = 2 };
enum class AlarmEdit : uint8_t { None, Hour, Minute };

// Selection items are numbered 0..14, 0 meaning nothing is selected.
inline constexpr std::size_t kSelectionCodes = 15;

// What only the window has: the wings, the selection and its blinking, the alarm being edited,
// the pointer and the cursor. Times are seconds on the monotonic clock, so nothing sticks or
// fires early when the time of day jumps.
struct UiState {
    bool upperLeftWingOpen = false, lowerLeftWingOpen = false;
    bool upperRightWingOpen = false, lowerRightWingOpen = false;

    std::array<int16_t, kSelectionCodes> blinking{};       // 1 = selected and blinking, by code
    std::array<double, kSelectionCodes> blinkChangedAt{};  // the last picture change, by code
    int16_t blinkPhase = 0;                                // 1 = the blink picture is up
    int16_t selectedItem = 0, previousItem = 0;
    double selectionTouchedAt = 0;  // the last selection or arrow click
    AlarmEdit alarmEdit = AlarmEdit::None;
    double alarmEditTouchedAt = 0;  // the last click on the alarm's set, up or down button

    int16_t knobX = 0, knobY = 0;      // the volume knob's mark
    float pointerX = 0, pointerY = 0;  // skin pixels
    int16_t pressX = 0, pressY = 0;
    bool resetArmed = false;  // Ctrl+Alt held
    CursorKind cursor = CursorKind::Arrow;
};

struct MonitorState {
    Settings settings;
    Readings readings;
    PanelStatus panel;
    PollState poll;
    HostFacts host;
    UiState ui;
};

}  // namespace kestrelon
