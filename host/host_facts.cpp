// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the host facts from the kernel's files and calls; a fact that cannot be read is absent,
// so that the caller keeps the value it had.
#include "host/host_facts.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include <fstream>
#include <string>
#include <utility>

#include "host/host_fact_parsing.h"

namespace kestrelon {
namespace {

// The kernel's text files are small; anything larger is not one of them.
constexpr std::streamsize kMaxTextFile = 1 << 20;

std::optional<std::string> ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxTextFile, '\0');
    in.read(text.data(), kMaxTextFile);
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

}  // namespace

HostFactReader::HostFactReader(HostFactSources sources) : sources_(std::move(sources)) {}

std::optional<int32_t> HostFactReader::cpuMhz() const {
    const std::filesystem::path cpufreq = sources_.sys / "devices/system/cpu/cpu0/cpufreq";
    for (const char* name : {"base_frequency", "cpuinfo_max_freq"})
        if (const std::optional<std::string> text = ReadText(cpufreq / name))
            if (const std::optional<int32_t> mhz = MhzFromCpufreqText(*text)) return mhz;
    if (const std::optional<std::string> text = ReadText(sources_.proc / "cpuinfo"))
        return MhzFromCpuinfoText(*text);
    return std::nullopt;
}

std::optional<int32_t> HostFactReader::totalRamMb() const {
    if (const std::optional<std::string> text = ReadText(sources_.proc / "meminfo"))
        if (const std::optional<uint64_t> bytes = MemTotalBytesFromMeminfoText(*text))
            return TotalRamMbFromBytes(*bytes);
    struct sysinfo info {};
    if (!sources_.askKernelForMemory || sysinfo(&info) != 0 || info.totalram == 0)
        return std::nullopt;
    const uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    return TotalRamMbFromBytes(static_cast<uint64_t>(info.totalram) * unit);
}

std::optional<int32_t> HostFactReader::systemDriveGb() const {
    struct statvfs fs {};
    if (statvfs(sources_.systemDrive.c_str(), &fs) != 0) return std::nullopt;
    const uint64_t blockSize = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
    return DriveGbFromBytes(static_cast<uint64_t>(fs.f_blocks) * blockSize);
}

}  // namespace kestrelon
