// SPDX-License-Identifier: GPL-3.0-or-later
// The sound file's cache: a stat() per use, a read and parse only when the stamp changed.
#include "host/wav_cache.h"

#include <sys/stat.h>

#include <fstream>
#include <vector>

namespace kestrelon {

namespace {

// A click is a fraction of a second; a bigger file is not one and is not read.
constexpr std::streamsize kMaxWavBytes = 8 << 20;

std::shared_ptr<const WavSound> readWav(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<uint8_t> bytes(static_cast<size_t>(kMaxWavBytes));
    in.read(reinterpret_cast<char*>(bytes.data()), kMaxWavBytes);
    if (in.bad()) return nullptr;
    bytes.resize(static_cast<size_t>(in.gcount()));
    std::optional<WavSound> sound = ParseWav(bytes);
    if (!sound) return nullptr;
    return std::make_shared<const WavSound>(std::move(*sound));
}

}  // namespace

WavFileCache::Stamp WavFileCache::stampOf(const std::filesystem::path& file) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) return {};
    return {true, static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, st.st_ino};
}

std::shared_ptr<const WavSound> WavFileCache::current() {
    const Stamp now = stampOf(file_);
    if (known_ && now == stamp_) return sound_;
    stamp_ = now;
    known_ = true;
    sound_ = nullptr;
    if (now.exists) {
        ++reads_;
        sound_ = readWav(file_);
    }
    return sound_;
}

}  // namespace kestrelon
