// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a RIFF WAVE file of PCM samples (8-bit unsigned or 16-bit signed) into what a sound
// device needs: format, channels, rate and the sample bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrelon {

struct WavSound {
    int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
    int channels = 0;
    uint32_t sampleRate = 0;
    std::vector<uint8_t> samples;  // interleaved, whole frames only

    size_t frames() const {
        return samples.size() / static_cast<size_t>(channels * bitsPerSample / 8);
    }
};

// Every length is checked against the bytes there are and chunks other than "fmt " and "data"
// are skipped. Nothing for a file that is not such a sound, is cut short or holds no samples.
std::optional<WavSound> ParseWav(std::span<const uint8_t> file);

}  // namespace kestrelon
