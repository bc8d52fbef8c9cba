// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's click sound played through the ALSA "default" PCM on a thread of its own: a click
// never waits for the sound (through a sound server a drain takes seconds).
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#include "core/host_services.h"
#include "host/background_player.h"
#include "host/wav_cache.h"

namespace kestrelon {

class AlsaClickSound final : public ClickSound {
public:
    // The file is parsed at the first click and again only once it changed on disk, so a
    // replaced skin file is heard at the next click.
    explicit AlsaClickSound(std::filesystem::path wavFile, std::string device = "default");

    // Starts the sound and returns at once; while one plays, a click plays nothing. A missing
    // or unreadable file, a sound device that cannot be opened or is busy: silence.
    void play() override;

    // Returns once no sound plays (tests; the destructor stops a sound under way instead).
    void waitUntilQuiet() { player_.waitUntilQuiet(); }
    // Sounds that reached the device and played to their end.
    int played() const { return played_; }

private:
    void playOnce(const BackgroundPlayer::Stop& stop);  // on the player's thread

    WavFileCache wav_;  // the player's thread's alone
    std::string device_;
    std::atomic<int> played_{0};
    BackgroundPlayer player_;  // last: its thread uses everything above
};

}  // namespace kestrelon
