// SPDX-License-Identifier: GPL-3.0-or-later
// Click playback on the player's thread: the PCM is opened without waiting for a busy device,
// written in blocking mode, then watched until the device has played it; a stop drops the rest.
#include "host/alsa_click_sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "host/alsa_quiet.h"

namespace kestrelon {
namespace {

// How much the device buffers ahead, in microseconds.
constexpr unsigned kLatencyUs = 100000;
constexpr int kMaxSetbacks = 4;
// The longest rest between looks at how much is still to play.
constexpr std::chrono::milliseconds kLookEvery{10};
// How long past the sound's own length the device may take before it is given up.
constexpr std::chrono::milliseconds kGrace{1000};

struct ClosePcm {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, ClosePcm>;

Pcm OpenPcm(const std::string& device, const WavSound& sound) {
    snd_pcm_t* raw = nullptr;
    // Non-blocking, so that a device held by another program refuses at once instead of waiting.
    if (snd_pcm_open(&raw, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    Pcm pcm(raw);
    const snd_pcm_format_t format =
        sound.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (snd_pcm_nonblock(raw, 0) < 0 ||
        snd_pcm_set_params(raw, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(sound.channels), sound.sampleRate,
                           1 /* resample if the device needs it */, kLatencyUs) < 0)
        return nullptr;
    return pcm;
}

bool WriteAll(snd_pcm_t* pcm, const WavSound& sound, const BackgroundPlayer::Stop& stop) {
    const size_t frameBytes = static_cast<size_t>(sound.channels * sound.bitsPerSample / 8);
    const size_t frames = sound.frames();
    size_t done = 0;
    int setbacks = 0;  // underruns and empty writes; a device that keeps failing is given up
    while (done < frames) {
        if (stop.requested()) return false;
        // A piece at a time, so that a stop is seen while a long sound is written.
        const size_t piece = std::min(frames - done, std::max<size_t>(sound.sampleRate / 20, 1));
        const snd_pcm_sframes_t n =
            snd_pcm_writei(pcm, sound.samples.data() + done * frameBytes, piece);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (++setbacks > kMaxSetbacks) return false;
        if (n < 0 && snd_pcm_recover(pcm, static_cast<int>(n), 1 /* silent */) < 0) return false;
    }
    return true;
}

// Waits until the device has played what it holds. Not snd_pcm_drain: through a sound server it
// returns only after the server's whole latency (seconds), and nothing can cut it short.
bool AwaitEnd(snd_pcm_t* pcm, const WavSound& sound, const BackgroundPlayer::Stop& stop) {
    // A sound shorter than the device's buffer does not start by itself.
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED && snd_pcm_start(pcm) < 0) return false;
    const auto length = std::chrono::milliseconds(sound.frames() * 1000 / sound.sampleRate);
    const auto giveUp = std::chrono::steady_clock::now() + length + kGrace;
    for (;;) {
        // The device ran dry (an underrun, where a sound server's plug-in leaves its last delay
        // standing) or has nothing left: played.
        const snd_pcm_state_t state = snd_pcm_state(pcm);
        if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_DRAINING) return true;
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm, &delay) < 0 || delay <= 0) return true;
        if (std::chrono::steady_clock::now() > giveUp) return false;
        const auto left = std::chrono::milliseconds(delay * 1000 / sound.sampleRate + 1);
        if (!stop.rest(std::min(left, kLookEvery))) return false;
    }
}

}  // namespace

AlsaClickSound::AlsaClickSound(std::filesystem::path wavFile, std::string device)
    : wav_(std::move(wavFile)),
      device_(std::move(device)),
      player_([this](const BackgroundPlayer::Stop& stop) { playOnce(stop); }) {}

void AlsaClickSound::play() {
    player_.start();  // false while one plays: this click is silent
}

void AlsaClickSound::playOnce(const BackgroundPlayer::Stop& stop) {
    const std::shared_ptr<const WavSound> sound = wav_.current();
    if (!sound) return;
    SilenceAlsaMessages();
    const Pcm pcm = OpenPcm(device_, *sound);
    ForgetAlsaConfiguration();  // read again for the next click, which may be hours away
    if (!pcm) return;
    if (WriteAll(pcm.get(), *sound, stop) && AwaitEnd(pcm.get(), *sound, stop)) ++played_;
    snd_pcm_drop(pcm.get());  // whatever is left, when stopped or given up
}

}  // namespace kestrelon
