// SPDX-License-Identifier: GPL-3.0-or-later
// The host facts shown beside the panel's readings: processor clock, installed memory and the
// size of the system drive, read from /sys, /proc, sysinfo() and statvfs().
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace kestrelon {

// Where the facts come from; tests point these at a made-up tree.
struct HostFactSources {
    std::filesystem::path proc = "/proc";
    std::filesystem::path sys = "/sys";
    std::filesystem::path systemDrive = "/";
    // sysinfo() when /proc/meminfo cannot be read; off for a made-up tree.
    bool askKernelForMemory = true;
};

class HostFactReader {
public:
    explicit HostFactReader(HostFactSources sources = {});

    // cpu0's nominal clock: cpufreq base_frequency, else cpuinfo_max_freq (both kHz), else the
    // "cpu MHz" of processor 0 in cpuinfo. Nothing when none can be read.
    std::optional<int32_t> cpuMhz() const;
    // Installed physical memory in whole MB, rounded up.
    std::optional<int32_t> totalRamMb() const;
    // The system drive's total size in whole GB, rounded to the nearest.
    std::optional<int32_t> systemDriveGb() const;

private:
    HostFactSources sources_;
};

}  // namespace kestrelon
