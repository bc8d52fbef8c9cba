// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a failed invariant stops the run with a message (libFuzzer then
// keeps the input), and a file in memory for code that reads its input from a path.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

// Stops the run when `condition` is false; `what` says which invariant broke.
#define FUZZ_CHECK(condition, what)                                                           \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "fuzz: invariant broken at %s:%d: %s\n", __FILE__, __LINE__, \
                         what);                                                               \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace kestrelon::fuzz {

// A file that lives in memory (memfd) and is reached through /proc/self/fd, so that loaders that
// take a path read the fuzz input without touching a disk.
class MemoryFile {
public:
    explicit MemoryFile(const char* name) : fd_(memfd_create(name, MFD_CLOEXEC)) {
        if (fd_ < 0) {
            std::perror("fuzz: memfd_create");
            std::abort();
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // The file's whole content becomes `bytes`.
    void replace(std::string_view bytes) {
        if (ftruncate(fd_, 0) != 0 ||
            pwrite(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
            std::perror("fuzz: writing the memory file");
            std::abort();
        }
    }
    void replace(const uint8_t* data, size_t size) {
        replace(std::string_view(reinterpret_cast<const char*>(data), size));
    }

    const std::filesystem::path& path() const { return path_; }

private:
    int fd_;
    std::filesystem::path path_;
};

}  // namespace kestrelon::fuzz
