// SPDX-License-Identifier: GPL-3.0-or-later
// An owned POSIX file descriptor, closed when it goes out of scope.
#pragma once

#include <unistd.h>

#include <utility>

namespace kestrelon {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Closes now and reports whether the close succeeded (a failed close can mean lost data).
    bool close() {
        if (fd_ < 0) return true;
        return ::close(std::exchange(fd_, -1)) == 0;
    }

private:
    void reset() {
        if (fd_ >= 0) ::close(std::exchange(fd_, -1));
    }

    int fd_ = -1;
};

}  // namespace kestrelon
