// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's report frame: the checksum of a request and the text form of a reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kestrelon {

// The output report buffer: report ID, register, six parameter bytes, checksum, one spare byte.
inline constexpr std::size_t kOutReportSize = 10;
inline constexpr std::size_t kChecksumIndex = 8;

// Sum of request bytes 1..7, exclusive-or 0x3C, low 8 bits.
uint8_t reportChecksum(std::span<const uint8_t, 7> bytes1to7);

// True when a frame (report ID first) is long enough and carries the right checksum.
bool frameChecksumOk(std::span<const uint8_t> frame);

// A reply as `input_data` text: "HH," for each reply byte 1..L (the report ID is left out).
std::string replyText(std::span<const uint8_t> reply);

// Reply byte k (1-based) read back from the last reply text at character positions 3k-2 and 3k-1;
// a position past the end of the text reads as 0.
uint8_t replyByteFromText(const std::string& inputData, int k);

// Upper-case two-digit hexadecimal bytes separated by single blanks.
std::string hexBytes(std::span<const uint8_t> bytes);

}  // namespace kestrelon
