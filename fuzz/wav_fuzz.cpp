// SPDX-License-Identifier: GPL-3.0-or-later
// The click sound's WAV reader on arbitrary bytes: whatever it accepts is a playable PCM sound
// whose samples are whole frames taken from the file itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "host/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past its end is caught.
    const std::vector<uint8_t> file(data, data + size);
    const auto sound = kestrelon::ParseWav(file);
    if (!sound) return 0;
    FUZZ_CHECK(sound->bitsPerSample == 8 || sound->bitsPerSample == 16, "8- or 16-bit PCM");
    FUZZ_CHECK(sound->channels >= 1 && sound->channels <= 8, "one to eight channels");
    FUZZ_CHECK(sound->sampleRate > 0 && sound->sampleRate <= 768000, "a playable rate");
    const size_t frameBytes = static_cast<size_t>(sound->channels * sound->bitsPerSample / 8);
    FUZZ_CHECK(!sound->samples.empty(), "an accepted sound has samples");
    FUZZ_CHECK(sound->samples.size() % frameBytes == 0, "whole frames only");
    FUZZ_CHECK(sound->frames() * frameBytes == sound->samples.size(), "frames() counts them");
    FUZZ_CHECK(std::search(file.begin(), file.end(), sound->samples.begin(),
                           sound->samples.end()) != file.end(),
               "the samples are bytes of the file, in order");
    return 0;
}
