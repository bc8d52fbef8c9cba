// SPDX-License-Identifier: GPL-3.0-or-later
// Report lengths from a HID report descriptor: for each report kind the longest report over all
// report IDs, in bytes, plus one byte for the report ID (also when the device uses none).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/transport.h"

namespace kestrelon {

// Null when the descriptor is malformed (an item runs past the end, a Pop without a Push);
// `error` then says what went wrong. A kind without any report has length 0.
std::optional<ReportLengths> reportLengthsFromDescriptor(std::span<const uint8_t> descriptor,
                                                         std::string* error = nullptr);

}  // namespace kestrelon
