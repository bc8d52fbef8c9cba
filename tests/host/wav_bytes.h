// SPDX-License-Identifier: GPL-3.0-or-later
// Builds RIFF WAVE files in memory, chunk by chunk, for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrelon::test {

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

struct Chunk {
    std::string id;  // four characters
    Bytes body;
    uint32_t claimedSize = UINT32_MAX;  // the size field; the body's size unless given
};

// A RIFF file of these chunks, each odd body padded to even.
inline Bytes Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE") {
    Bytes body(form, form + 4);
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id.begin(), c.id.end());
        PutLe(body,
              c.claimedSize == UINT32_MAX ? static_cast<uint32_t>(c.body.size()) : c.claimedSize,
              4);
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() % 2) body.push_back(0);
    }
    Bytes file{'R', 'I', 'F', 'F'};
    PutLe(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

inline Chunk Fmt(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    Bytes b;
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    PutLe(b, tag, 2);
    PutLe(b, channels, 2);
    PutLe(b, rate, 4);
    PutLe(b, rate * block, 4);
    PutLe(b, block, 2);
    PutLe(b, bits, 2);
    return {"fmt ", b};
}

// Distinct sample bytes, so that a test sees which bytes were kept.
inline Bytes Samples(size_t bytes) {
    Bytes b(bytes);
    for (size_t i = 0; i < bytes; ++i) b[i] = static_cast<uint8_t>(i * 7 + 3);
    return b;
}

inline Bytes PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, size_t frames) {
    return Riff({Fmt(channels, rate, bits), {"data", Samples(frames * channels * bits / 8)}});
}

}  // namespace kestrelon::test
