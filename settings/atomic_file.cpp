// SPDX-License-Identifier: GPL-3.0-or-later
// Safe replacement of a small file: temporary file in the same directory, fsync, rename.
#include "settings/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/unique_fd.h"

namespace kestrelon {

namespace {

std::string Failure(std::string_view what, const std::filesystem::path& path, int error_number) {
    std::string text(what);
    text += ' ';
    text += path.string();
    text += ": ";
    text += std::strerror(error_number);
    return text;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void SyncDirectory(const std::filesystem::path& directory) {
    UniqueFd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

std::filesystem::path ReplacementTempPath(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp.replace_filename("." + target.filename().string() + "." + std::to_string(::getpid()) +
                          ".tmp");
    return temp;
}

bool ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes,
                        std::string& error) {
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code created;
    std::filesystem::create_directories(directory, created);
    if (created) {
        error = Failure("cannot create directory", directory, created.value());
        return false;
    }

    const std::filesystem::path temp = ReplacementTempPath(target);
    ::unlink(
        temp.c_str());  // a leftover of an earlier run; a directory there stays and fails below
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd.valid()) {
        error = Failure("cannot create", temp, errno);
        return false;
    }

    struct stat old_file {};
    if (::stat(target.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode))
        ::fchmod(fd.get(), old_file.st_mode & 07777);

    const auto fail = [&](std::string_view what, const std::filesystem::path& path) {
        const int error_number = errno;
        fd.close();
        ::unlink(temp.c_str());
        error = Failure(what, path, error_number);
        return false;
    };
    if (!WriteAll(fd.get(), bytes)) return fail("cannot write", temp);
    if (::fsync(fd.get()) != 0) return fail("cannot flush", temp);
    if (!fd.close()) return fail("cannot close", temp);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail("cannot replace", target);
    SyncDirectory(directory);
    return true;
}

}  // namespace kestrelon
