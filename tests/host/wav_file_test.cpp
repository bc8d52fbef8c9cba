// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV reader: plain and padded files, skipped chunks, and every way a file can be short,
// foreign or garbage.
#include "host/wav_file.h"

#include <gtest/gtest.h>

#include "tests/host/wav_bytes.h"

namespace kestrelon {
namespace {

using test::Bytes;
using test::Chunk;
using test::Fmt;
using test::Riff;
using test::Samples;

TEST(WavFile, ReadsPcmFilesAndSkipsOtherChunks) {
    Bytes extensible = Fmt(2, 22050, 16, 0xFFFE).body;
    test::PutLe(extensible, 22, 2);  // extension size
    test::PutLe(extensible, 16, 2);  // valid bits
    test::PutLe(extensible, 3, 4);   // speaker mask
    test::PutLe(extensible, 1, 2);   // sub-format: PCM, then the rest of the GUID
    extensible.resize(extensible.size() + 14, 0x10);

    const struct {
        const char* what;
        Bytes file;
        int bits, channels;
        uint32_t rate;
        size_t sampleBytes;
    } cases[] = {
        {"16-bit mono", test::PcmWav(1, 44100, 16, 100), 16, 1, 44100, 200},
        {"8-bit stereo", test::PcmWav(2, 11025, 8, 50), 8, 2, 11025, 100},
        {"odd-sized chunks padded before fmt and data",
         Riff({{"LIST", Samples(9)}, Fmt(1, 8000, 8), {"fact", Samples(3)}, {"data", Samples(7)}}),
         8, 1, 8000, 7},
        {"data before fmt", Riff({{"data", Samples(40)}, Fmt(2, 48000, 16)}), 16, 2, 48000, 40},
        {"a partial last frame is left out", Riff({Fmt(2, 8000, 16), {"data", Samples(11)}}), 16, 2,
         8000, 8},
        {"the extensible header with PCM inside",
         Riff({{"fmt ", extensible}, {"data", Samples(8)}}), 16, 2, 22050, 8},
    };
    for (const auto& c : cases) {
        const std::optional<WavSound> sound = ParseWav(c.file);
        ASSERT_TRUE(sound.has_value()) << c.what;
        EXPECT_EQ(sound->bitsPerSample, c.bits) << c.what;
        EXPECT_EQ(sound->channels, c.channels) << c.what;
        EXPECT_EQ(sound->sampleRate, c.rate) << c.what;
        EXPECT_EQ(sound->samples, Bytes(Samples(c.sampleBytes))) << c.what;
    }
}

TEST(WavFile, ShortForeignAndGarbageFilesAreNoSound) {
    const Bytes good = test::PcmWav(1, 44100, 16, 100);
    Bytes rifx = good;
    rifx[3] = 'X';
    Bytes garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 131 + 17);
    Bytes shortFmt = Fmt(1, 8000, 8).body;
    shortFmt.resize(14);

    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"only the RIFF header", Bytes(good.begin(), good.begin() + 12)},
        {"cut inside fmt", Bytes(good.begin(), good.begin() + 30)},
        {"cut inside the data", Bytes(good.begin(), good.end() - 1)},
        {"big-endian RIFX", rifx},
        {"not WAVE", Riff({Fmt(1, 8000, 8), {"data", Samples(8)}}, "AVI ")},
        {"float samples", Riff({Fmt(1, 44100, 32, 3), {"data", Samples(8)}})},
        {"24-bit PCM", Riff({Fmt(1, 44100, 24), {"data", Samples(6)}})},
        {"compressed", Riff({Fmt(1, 8000, 4, 0x11), {"data", Samples(8)}})},
        {"no channels", Riff({Fmt(0, 8000, 8), {"data", Samples(8)}})},
        {"no sample rate", Riff({Fmt(1, 0, 8), {"data", Samples(8)}})},
        {"fmt too short", Riff({{"fmt ", shortFmt}, {"data", Samples(8)}})},
        {"no fmt", Riff({{"data", Samples(8)}})},
        {"no data", Riff({Fmt(1, 8000, 8)})},
        {"no whole frame", Riff({Fmt(2, 8000, 16), {"data", Samples(3)}})},
        {"a chunk claiming 4 GB", Riff({Fmt(1, 8000, 8), {"data", Samples(8), 0xFFFFFFF8}})},
        {"garbage", garbage},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseWav(c.file), std::nullopt) << c.what;
}

}  // namespace
}  // namespace kestrelon
