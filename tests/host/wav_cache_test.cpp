// SPDX-License-Identifier: GPL-3.0-or-later
// The click's file is read once and again only when it changed on disk: other bytes, another
// size, another modification time, a file put in its place, gone and back.
#include "host/wav_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/host/wav_bytes.h"

namespace kestrelon {
namespace {

void Write(const std::filesystem::path& file, const test::Bytes& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// Sets the file's modification time to a fixed second, so that a rewrite within the same clock
// tick cannot pass for "unchanged" or "changed" by chance.
void SetMtime(const std::filesystem::path& file, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

TEST(WavFileCache, ReadsTheFileOnlyWhenItChanged) {
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("nimclick.wav").toStdString();
    const test::Bytes mono = test::PcmWav(1, 22050, 16, 100);
    const test::Bytes monoHigh = test::PcmWav(1, 44100, 16, 100);   // same size as mono
    const test::Bytes stereo = test::PcmWav(2, 22050, 16, 100);     // another size
    const test::Bytes stereoLow = test::PcmWav(2, 11025, 16, 100);  // same size as stereo
    ASSERT_EQ(mono.size(), monoHigh.size());
    ASSERT_EQ(stereo.size(), stereoLow.size());
    ASSERT_NE(mono.size(), stereo.size());
    const auto put = [&](const test::Bytes& bytes, time_t mtime) {
        Write(file, bytes);
        SetMtime(file, mtime);
    };

    // Each step changes the file (or not), then asks for the sound twice.
    const struct {
        const char* what;
        std::function<void()> change;
        int readsAfter;
        int channels;  // 0: no sound
        uint32_t rate;
    } steps[] = {
        {"first use", [&] { put(mono, 1000); }, 1, 1, 22050},
        {"untouched", [] {}, 1, 1, 22050},
        {"same bytes, same time", [&] { put(mono, 1000); }, 1, 1, 22050},
        {"same size, new time", [&] { put(monoHigh, 1001); }, 2, 1, 44100},
        {"another size, same time", [&] { put(stereo, 1001); }, 3, 2, 22050},
        {"same size and time, another file put in its place",
         [&] {
             const std::filesystem::path other = file.string() + ".new";
             Write(other, stereoLow);
             SetMtime(other, 1001);
             std::filesystem::rename(other, file);
         },
         4, 2, 11025},
        {"gone", [&] { std::filesystem::remove(file); }, 4, 0, 0},
        {"still gone", [] {}, 4, 0, 0},
        {"not a sound", [&] { put(test::Bytes(64, 0xA5), 1500); }, 5, 0, 0},
        {"not a sound, untouched", [] {}, 5, 0, 0},
        {"back", [&] { put(mono, 2000); }, 6, 1, 22050},
    };
    WavFileCache cache(file);
    for (const auto& s : steps) {
        s.change();
        for (int ask = 0; ask < 2; ++ask) {
            const std::shared_ptr<const WavSound> sound = cache.current();
            EXPECT_EQ(cache.reads(), s.readsAfter) << s.what;
            EXPECT_EQ(sound ? sound->channels : 0, s.channels) << s.what;
            EXPECT_EQ(sound ? sound->sampleRate : 0, s.rate) << s.what;
        }
    }
}

}  // namespace
}  // namespace kestrelon
