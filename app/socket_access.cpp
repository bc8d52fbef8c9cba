// SPDX-License-Identifier: GPL-3.0-or-later
// The control socket's directory checks (lstat, so a link is never followed) and SO_PEERCRED.
#include "app/socket_access.h"

#include <sys/socket.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace kestrelon {

std::optional<std::string> PrivateDirectoryProblem(const std::filesystem::path& dir, uid_t uid,
                                                   bool create) {
    const std::string name = dir.string();
    struct stat st {};
    if (lstat(name.c_str(), &st) != 0) {
        if (errno != ENOENT || !create)
            return "cannot use the directory " + name + ": " + std::strerror(errno);
        // Made private from the start; one made meanwhile by someone else is checked below.
        if (mkdir(name.c_str(), 0700) != 0 && errno != EEXIST)
            return "cannot create the directory " + name + ": " + std::strerror(errno);
        if (lstat(name.c_str(), &st) != 0)
            return "cannot use the directory " + name + ": " + std::strerror(errno);
    }
    if (S_ISLNK(st.st_mode)) return name + " is a symbolic link, not a directory of our own";
    if (!S_ISDIR(st.st_mode)) return name + " is not a directory";
    if (st.st_uid != uid)
        return name + " belongs to user id " + std::to_string(st.st_uid) + ", not to " +
               std::to_string(uid);
    if ((st.st_mode & 07777) != 0700) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return name + " has mode " + mode + ", not 0700";
    }
    return std::nullopt;
}

std::optional<uid_t> PeerUid(int socketFd) {
    ucred cred{};
    socklen_t length = sizeof cred;
    if (getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0 || length != sizeof cred)
        return std::nullopt;
    return cred.uid;
}

bool PeerIsUser(int socketFd, uid_t uid) {
    const std::optional<uid_t> peer = PeerUid(socketFd);
    return peer && *peer == uid;
}

}  // namespace kestrelon
