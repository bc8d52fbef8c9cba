// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer and the click on a host without a sound card or server (this machine, CI): "no
// mixer" answers, silence, nothing played and none of libasound's own messages on stderr; and
// libasound's configuration, read for each open, given back afterwards.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/alsa_click_sound.h"
#include "host/alsa_mixer.h"
#include "tests/host/wav_bytes.h"

namespace kestrelon {
namespace {

// Device names that cannot open anywhere, and "default" where this host has no card; a sound
// server elsewhere on the host is kept out of reach.
std::vector<std::string> SoundlessDevices() {
    setenv("PULSE_SERVER", "unix:/nonexistent/kestrelon-test/native", 1);
    std::vector<std::string> devices{"hw:99", "kestrelon_no_such_device"};
    if (!std::filesystem::exists("/dev/snd")) devices.push_back("default");
    return devices;
}

// More than any click or failed open takes; a hang goes far past it.
constexpr auto kHangBound = std::chrono::seconds(5);

TEST(AlsaWithoutSound, MixerAnswersNoMixerWithOneLogLine) {
    for (const std::string& device : SoundlessDevices()) {
        testing::internal::CaptureStderr();
        AlsaMixer mixer(device);
        const int32_t volume = mixer.GetMasterVolume();
        const bool set = mixer.SetMasterVolume(50);
        const std::string err = testing::internal::GetCapturedStderr();

        EXPECT_FALSE(mixer.isOpen()) << device;
        EXPECT_EQ(volume, 0) << device;
        EXPECT_FALSE(set) << device;
        EXPECT_EQ(err.rfind("kestrelon: ", 0), 0u) << device << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << device << ": " << err;
        EXPECT_EQ(err.find("ALSA"), std::string::npos) << device << ": " << err;
        EXPECT_EQ(snd_config, nullptr) << device << ": the configuration is kept";
    }
}

TEST(AlsaWithoutSound, ClickIsSilentAndPlaysNothing) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const auto write = [&](const char* name, const test::Bytes& bytes) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return folder / name;
    };
    const std::filesystem::path files[] = {
        write("nimclick.wav", test::PcmWav(1, 22050, 16, 2205)),  // 0.1 s
        write("garbage.wav", test::Bytes(64, 0xA5)),
        folder / "missing.wav",
    };
    for (const std::string& device : SoundlessDevices()) {
        for (const std::filesystem::path& file : files) {
            AlsaClickSound click(file, device);
            testing::internal::CaptureStderr();
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < 3; ++i) {  // a failed sound leaves the way free for the next
                click.play();
                click.waitUntilQuiet();
            }
            const auto took = std::chrono::steady_clock::now() - start;
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_LT(took, kHangBound) << device << " " << file;
            EXPECT_EQ(click.played(), 0) << device << " " << file;
            EXPECT_EQ(err, "") << device << " " << file;
            EXPECT_EQ(snd_config, nullptr)
                << device << " " << file << ": the configuration is kept";
        }
    }
}

}  // namespace
}  // namespace kestrelon
