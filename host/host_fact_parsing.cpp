// SPDX-License-Identifier: GPL-3.0-or-later
// The host facts' arithmetic and text parsing. std::from_chars reads numbers the same way under
// every locale (Qt sets the C locale from the environment, where "2495.998" may not be a number).
#include "host/host_fact_parsing.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrelon {
namespace {

constexpr uint64_t kMiB = uint64_t{1} << 20;

int32_t ClampToInt32(double value) {
    if (!(value > 0)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// Calls f(key, value) for each "key : value" line, both trimmed; f returns false to stop.
template <typename F>
void ForEachField(std::string_view text, F f) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (!f(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)))) return;
    }
}

template <typename T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end == text.data()) return std::nullopt;
    return value;
}

}  // namespace

int32_t TotalRamMbFromBytes(uint64_t bytes) {
    // Hundredths of a MB, halves up, worked in integers so that no binary fraction can tip a
    // value like 512.00 over to 513, and split so that no product overflows.
    const uint64_t hundredths = bytes / kMiB * 100 + ((bytes % kMiB) * 100 + kMiB / 2) / kMiB;
    const uint64_t whole = hundredths / 100 + (hundredths % 100 != 0 ? 1 : 0);
    if (whole > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}

int32_t DriveGbFromBytes(uint64_t bytes) {
    return ClampToInt32(std::nearbyint(static_cast<double>(bytes) / 1024.0 / 1024.0 / 1024.0));
}

std::optional<int32_t> MhzFromCpufreqText(std::string_view text) {
    const std::optional<uint64_t> khz = WholeNumber<uint64_t>(Trim(text));
    if (!khz || *khz == 0) return std::nullopt;
    const uint64_t mhz = (*khz + 500) / 1000;
    if (mhz == 0 || mhz > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(mhz);
}

std::optional<int32_t> MhzFromCpuinfoText(std::string_view text) {
    std::optional<int32_t> mhz;
    std::optional<uint64_t> processor;
    ForEachField(text, [&](std::string_view key, std::string_view value) {
        if (key == "processor") {
            processor = WholeNumber<uint64_t>(value);
            return !processor || *processor == 0;  // past processor 0: stop looking
        }
        if (key != "cpu MHz" || processor != uint64_t{0}) return true;
        double v = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
        if (ec == std::errc{} && end != value.data() && std::isfinite(v) && v >= 0.5 &&
            v < static_cast<double>(std::numeric_limits<int32_t>::max()))
            mhz = static_cast<int32_t>(std::lround(v));
        return false;
    });
    return mhz;
}

std::optional<uint64_t> MemTotalBytesFromMeminfoText(std::string_view text) {
    std::optional<uint64_t> bytes;
    ForEachField(text, [&](std::string_view key, std::string_view value) {
        if (key != "MemTotal") return true;
        const size_t space = value.find_first_of(" \t");
        const std::optional<uint64_t> kb = WholeNumber<uint64_t>(value.substr(0, space));
        const std::string_view unit =
            space == std::string_view::npos ? std::string_view{} : Trim(value.substr(space));
        if (kb && unit == "kB" && *kb <= std::numeric_limits<uint64_t>::max() / 1024)
            bytes = *kb * 1024;
        return false;
    });
    return bytes;
}

}  // namespace kestrelon
