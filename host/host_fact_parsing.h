// SPDX-License-Identifier: GPL-3.0-or-later
// The host facts' arithmetic and the parsing of the kernel's text files they come from, apart
// from any file access so that both can be checked with made-up numbers and texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrelon {

// Installed memory in whole MB: bytes / 1024 / 1024 rounded to two decimals, then any fraction
// left rounds up (536,264,704 bytes are 511.42 MB, shown as 512).
int32_t TotalRamMbFromBytes(uint64_t bytes);

// Drive size in whole GB (2^30 bytes), rounded to the nearest, halves to the even neighbour.
int32_t DriveGbFromBytes(uint64_t bytes);

// A cpufreq file ("2496000\n", kHz) as whole MHz, rounded to the nearest.
std::optional<int32_t> MhzFromCpufreqText(std::string_view text);

// The "cpu MHz" line of processor 0 in /proc/cpuinfo ("cpu MHz\t\t: 2495.998"), rounded to
// whole MHz. Absent (some architectures do not give one) or unreadable: nothing.
std::optional<int32_t> MhzFromCpuinfoText(std::string_view text);

// "MemTotal:  24683716 kB" of /proc/meminfo, in bytes.
std::optional<uint64_t> MemTotalBytesFromMeminfoText(std::string_view text);

}  // namespace kestrelon
