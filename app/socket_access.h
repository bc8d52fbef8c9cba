// SPDX-License-Identifier: GPL-3.0-or-later
// Who can reach the control socket: its directory must be the user's own and private, and a
// connection is served only when its peer runs as the same user.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace kestrelon {

// Checks that `dir` is a directory (not a symbolic link) owned by `uid` with mode 0700; when it
// is missing and `create` is set, makes it so first. Nothing when it can be used, else the
// problem in one line.
std::optional<std::string> PrivateDirectoryProblem(const std::filesystem::path& dir, uid_t uid,
                                                   bool create);

// The user id of the process at the other end of a connected Unix socket; nothing when the
// descriptor is no such socket.
std::optional<uid_t> PeerUid(int socketFd);

// The peer of `socketFd` runs as `uid`.
bool PeerIsUser(int socketFd, uid_t uid);

}  // namespace kestrelon
