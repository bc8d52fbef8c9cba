// SPDX-License-Identifier: GPL-3.0-or-later
// A sound file parsed once and read again only when it changed on disk (another size or
// modification time), so that each click costs no file reading, while a replaced skin file is
// still heard at the next click.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "host/wav_file.h"

namespace kestrelon {

class WavFileCache {
public:
    explicit WavFileCache(std::filesystem::path file) : file_(std::move(file)) {}

    // The sound the file holds now; nothing for a missing, unreadable or broken file.
    std::shared_ptr<const WavSound> current();
    // How often the file has been read (a missing file is not read).
    int reads() const { return reads_; }

private:
    struct Stamp {
        bool exists = false;
        int64_t size = 0;
        int64_t mtimeNs = 0;
        ino_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::filesystem::path& file);

    std::filesystem::path file_;
    Stamp stamp_;
    bool known_ = false;  // stamp_ and sound_ describe the file
    std::shared_ptr<const WavSound> sound_;
    int reads_ = 0;
};

}  // namespace kestrelon
