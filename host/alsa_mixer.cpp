// SPDX-License-Identifier: GPL-3.0-or-later
// The master volume on the ALSA simple mixer: raw linear values only (no dB), the loudest
// channel when reading, all channels when writing, mute untouched.
#include "host/alsa_mixer.h"

#include <alsa/asoundlib.h>

#include <cstdio>
#include <cstring>

#include "host/alsa_quiet.h"
#include "host/mixer_scale.h"

namespace kestrelon {
namespace {

// Hardware elements with fewer steps than this are driven through 0..kWideRange, so that the
// knob's percentage is scaled instead of passed on (50 on a 0..31 element would be full output).
// A sound server's element (0..65536) already is this wide and keeps its own range: resetting it
// would shift every written value by one.
constexpr long kWideRange = 65535;

snd_mixer_elem_t* FindElement(snd_mixer_t* mixer) {
    const auto hasVolume = [](snd_mixer_elem_t* e) {
        return snd_mixer_selem_has_playback_volume(e) != 0;
    };
    for (const char* wanted : {"Master", "PCM"})
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e))
            if (hasVolume(e) && std::strcmp(snd_mixer_selem_get_name(e), wanted) == 0) return e;
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e))
        if (hasVolume(e)) return e;
    return nullptr;
}

void LogLine(const std::string& message) {
    const std::string line = "kestrelon: " + message + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace

void AlsaMixer::CloseMixer::operator()(snd_mixer_t* mixer) const {
    snd_mixer_close(mixer);
}

AlsaMixer::AlsaMixer(const std::string& device) {
    SilenceAlsaMessages();
    std::string why;
    if (!open(device, why)) {
        element_ = nullptr;
        mixer_.reset();
        LogLine("no master volume on mixer \"" + device + "\": " + why);
    }
    ForgetAlsaConfiguration();  // the mixer stays open without it
}

AlsaMixer::~AlsaMixer() = default;

bool AlsaMixer::open(const std::string& device, std::string& why) {
    snd_mixer_t* raw = nullptr;
    int rc = snd_mixer_open(&raw, 0);
    if (rc < 0) {
        why = snd_strerror(rc);
        return false;
    }
    mixer_.reset(raw);
    if ((rc = snd_mixer_attach(raw, device.c_str())) < 0 ||
        (rc = snd_mixer_selem_register(raw, nullptr, nullptr)) < 0 ||
        (rc = snd_mixer_load(raw)) < 0) {
        why = snd_strerror(rc);
        return false;
    }
    snd_mixer_elem_t* e = FindElement(raw);
    if (!e) {
        why = "no element with a playback volume";
        return false;
    }
    long min = 0, max = 0;
    if ((rc = snd_mixer_selem_get_playback_volume_range(e, &min, &max)) < 0) {
        why = snd_strerror(rc);
        return false;
    }
    if (max - min < kWideRange &&
        snd_mixer_selem_set_playback_volume_range(e, 0, kWideRange) >= 0) {
        min = 0;
        max = kWideRange;
    }
    element_ = e;
    elementName_ = snd_mixer_selem_get_name(e);
    min_ = min;
    max_ = max;
    return true;
}

bool AlsaMixer::catchUp() {
    // Takes in changes made elsewhere (the desktop's volume control, another program).
    return element_ && snd_mixer_handle_events(mixer_.get()) >= 0;
}

int32_t AlsaMixer::GetMasterVolume() {
    if (!catchUp()) return 0;
    bool any = false;
    long loudest = 0;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        if (!snd_mixer_selem_has_playback_channel(element_, channel)) continue;
        long value = 0;
        if (snd_mixer_selem_get_playback_volume(element_, channel, &value) < 0) return 0;
        if (!any || value > loudest) loudest = value;
        any = true;
    }
    return any ? MixerPercentFromRaw(loudest, min_, max_) : 0;
}

bool AlsaMixer::SetMasterVolume(int32_t percent) {
    if (!catchUp()) return false;
    const long raw = static_cast<long>(MixerRawFromPercent(percent, min_, max_));
    return snd_mixer_selem_set_playback_volume_all(element_, raw) >= 0;
}

}  // namespace kestrelon
