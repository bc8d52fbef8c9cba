// SPDX-License-Identifier: GPL-3.0-or-later
// Click playback: the WAV file is parsed here, the PCM is opened without waiting for a busy
// device, then written in blocking mode and drained.
#include "host/alsa_click_sound.h"

#include <alsa/asoundlib.h>

#include <fstream>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "host/alsa_quiet.h"
#include "host/wav_file.h"

namespace kestrelon {
namespace {

// A click is a fraction of a second; a bigger file is not one and is not read.
constexpr std::streamsize kMaxWavBytes = 8 << 20;
// How much the device buffers ahead, in microseconds.
constexpr unsigned kLatencyUs = 100000;
constexpr int kMaxSetbacks = 4;

struct ClosePcm {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using Pcm = std::unique_ptr<snd_pcm_t, ClosePcm>;

std::optional<WavSound> ReadWav(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(kMaxWavBytes));
    in.read(reinterpret_cast<char*>(bytes.data()), kMaxWavBytes);
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return ParseWav(bytes);
}

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

}  // namespace

AlsaClickSound::AlsaClickSound(std::filesystem::path wavFile, std::string device)
    : wavFile_(std::move(wavFile)), device_(std::move(device)) {}

void AlsaClickSound::play() {
    const std::optional<WavSound> sound = ReadWav(wavFile_);
    if (!sound) return;
    SilenceAlsaMessages();
    const Pcm pcm = OpenPcm(device_, *sound);
    if (!pcm) return;
    const size_t frameBytes = static_cast<size_t>(sound->channels * sound->bitsPerSample / 8);
    const size_t frames = sound->frames();
    size_t done = 0;
    int setbacks = 0;  // underruns and empty writes; a device that keeps failing is given up
    while (done < frames) {
        const snd_pcm_sframes_t n =
            snd_pcm_writei(pcm.get(), sound->samples.data() + done * frameBytes, frames - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (++setbacks > kMaxSetbacks) return;
        if (n < 0 && snd_pcm_recover(pcm.get(), static_cast<int>(n), 1 /* silent */) < 0) return;
    }
    snd_pcm_drain(pcm.get());
}

}  // namespace kestrelon
