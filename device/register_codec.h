// SPDX-License-Identifier: GPL-3.0-or-later
// Value encodings of the panel's registers: clamped bytes and words, packed BCD, the status
// register bits, and the decoding of read replies into the monitor state.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/monitor_state.h"
#include "device/register_map.h"

namespace kestrelon {

// Request bytes 2..7 of one register.
using RequestParams = std::array<uint8_t, 6>;

// Values are held in range when a frame is built: 0..255 for bytes, 0..65535 for words.
uint8_t clampByte(int64_t value);
uint16_t clampWord(int64_t value);

// Two characters of `text` from 1-based `position` as packed BCD; a character that is not a
// decimal digit, or one past the end of the text, counts as 0 ("09" -> 0x09, "23" -> 0x23).
uint8_t packedBcd(const std::string& text, int position);

// Request bytes 2..7 of a write (all 0 for a read).
RequestParams encodeRequest(const RegisterRow& row, const MonitorState& state);

// Reply word at bytes k (low) and k+1 (high); bytes past the end of the reply read as 0.
uint16_t replyWord(std::span<const uint8_t> reply, std::size_t k);

// Stores what a read reply carries (index 0 = report ID) in the row's variables.
void decodeReply(const RegisterRow& row, std::span<const uint8_t> reply, MonitorState& state);

}  // namespace kestrelon
