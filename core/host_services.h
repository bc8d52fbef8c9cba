// SPDX-License-Identifier: GPL-3.0-or-later
// What the controls ask of the host besides the panel: the master volume and the click sound.
// The desktop program supplies ALSA-backed ones; tests and headless tools supply fakes or none.
#pragma once

#include <cstdint>

namespace kestrelon {

class Mixer {
public:
    virtual ~Mixer() = default;
    // The master volume in percent, 0..100; 0 when there is no mixer.
    virtual int32_t GetMasterVolume() = 0;
    // Sets the master volume from a percentage; false when there is no mixer or it refused.
    virtual bool SetMasterVolume(int32_t percent) = 0;
};

class ClickSound {
public:
    virtual ~ClickSound() = default;
    // Starts the click and returns at once, never waiting for the sound; while one plays, a
    // click plays nothing. Never fails loudly: without a sound device or a sound file it is
    // silent.
    virtual void play() = 0;
};

// A host without a mixer or a sound device.
class NoMixer final : public Mixer {
public:
    int32_t GetMasterVolume() override { return 0; }
    bool SetMasterVolume(int32_t) override { return false; }
};

class NoClickSound final : public ClickSound {
public:
    void play() override {}
};

}  // namespace kestrelon
