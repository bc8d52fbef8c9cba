// SPDX-License-Identifier: GPL-3.0-or-later
// A bounds-checked RIFF WAVE reader: chunk by chunk, odd chunks padded to even, unknown chunks
// skipped, PCM of 8 or 16 bits only.
#include "host/wav_file.h"

#include <string_view>

namespace kestrelon {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxChannels = 8;
constexpr uint32_t kMaxSampleRate = 768000;

uint16_t Le16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

bool IdIs(std::span<const uint8_t> b, size_t at, std::string_view id) {
    for (size_t i = 0; i < 4; ++i)
        if (b[at + i] != static_cast<uint8_t>(id[i])) return false;
    return true;
}

// Fills format fields from a "fmt " chunk's body; false when it is not PCM this reader plays.
bool ReadFormat(std::span<const uint8_t> fmt, WavSound& sound) {
    if (fmt.size() < 16) return false;
    uint16_t tag = Le16(fmt, 0);
    if (tag == kFormatExtensible) {
        // The sub-format GUID's first two bytes carry the real format tag.
        if (fmt.size() < 40) return false;
        tag = Le16(fmt, 24);
    }
    if (tag != kFormatPcm) return false;
    sound.channels = Le16(fmt, 2);
    sound.sampleRate = Le32(fmt, 4);
    sound.bitsPerSample = Le16(fmt, 14);
    return sound.channels >= 1 && sound.channels <= kMaxChannels && sound.sampleRate > 0 &&
           sound.sampleRate <= kMaxSampleRate &&
           (sound.bitsPerSample == 8 || sound.bitsPerSample == 16);
}

}  // namespace

std::optional<WavSound> ParseWav(std::span<const uint8_t> file) {
    if (file.size() < 12 || !IdIs(file, 0, "RIFF") || !IdIs(file, 8, "WAVE")) return std::nullopt;
    WavSound sound;
    bool haveFormat = false;
    std::span<const uint8_t> data;
    bool haveData = false;
    size_t at = 12;
    while (file.size() - at >= 8) {
        const uint32_t size = Le32(file, at + 4);
        const size_t body = at + 8;
        if (size > file.size() - body) return std::nullopt;  // cut short
        const std::span<const uint8_t> chunk = file.subspan(body, size);
        if (IdIs(file, at, "fmt ")) {
            if (!ReadFormat(chunk, sound)) return std::nullopt;
            haveFormat = true;
        } else if (IdIs(file, at, "data") && !haveData) {
            data = chunk;
            haveData = true;
        }
        if (haveFormat && haveData) break;
        at = body + size + (size & 1);
        if (at > file.size()) break;  // the last chunk's pad byte may be missing
    }
    if (!haveFormat || !haveData) return std::nullopt;
    const size_t frameBytes = static_cast<size_t>(sound.channels * sound.bitsPerSample / 8);
    const size_t usable = data.size() - data.size() % frameBytes;
    if (usable == 0) return std::nullopt;
    sound.samples.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(usable));
    return sound;
}

}  // namespace kestrelon
