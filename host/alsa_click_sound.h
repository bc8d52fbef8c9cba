// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's click sound played through the ALSA "default" PCM, returning when it has ended.
#pragma once

#include <filesystem>
#include <string>

#include "core/host_services.h"

namespace kestrelon {

class AlsaClickSound final : public ClickSound {
public:
    // The file is read at each play, so a replaced skin file is heard at the next click.
    explicit AlsaClickSound(std::filesystem::path wavFile, std::string device = "default");

    // Plays the whole sound and waits for its end. A missing or unreadable file, a sound device
    // that cannot be opened or is busy: silence, at once.
    void play() override;

private:
    std::filesystem::path wavFile_;
    std::string device_;
};

}  // namespace kestrelon
