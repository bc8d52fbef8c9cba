// SPDX-License-Identifier: GPL-3.0-or-later
// The host's master volume through the ALSA simple mixer of the "default" control device, which
// is the sound server's mixer where one runs and the first card's otherwise.
#pragma once

#include <memory>
#include <string>

#include "core/host_services.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace kestrelon {

class AlsaMixer final : public Mixer {
public:
    // Opens the control device once and picks the element "Master", else "PCM", else the first
    // with a playback volume. Never changes the volume. Without a usable element it logs one
    // line and every later call answers "no mixer".
    explicit AlsaMixer(const std::string& device = "default");
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    bool isOpen() const { return element_ != nullptr; }
    // The chosen element's name; empty without one.
    const std::string& elementName() const { return elementName_; }

    // The loudest channel in percent of the element's range; 0 without a mixer or on an error.
    int32_t GetMasterVolume() override;
    // Sets every playback channel; false without a mixer or when the mixer refused. Mute is
    // left alone.
    bool SetMasterVolume(int32_t percent) override;

private:
    struct CloseMixer {
        void operator()(snd_mixer_t* mixer) const;
    };

    bool open(const std::string& device, std::string& why);
    bool catchUp();

    std::unique_ptr<snd_mixer_t, CloseMixer> mixer_;
    snd_mixer_elem_t* element_ = nullptr;  // owned by mixer_
    std::string elementName_;
    long min_ = 0;
    long max_ = 0;
};

}  // namespace kestrelon
