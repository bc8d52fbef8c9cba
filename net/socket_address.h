// SPDX-License-Identifier: GPL-3.0-or-later
// Socket addresses and the few calls that open non-blocking sockets on them: a TCP listener, a
// connect under way, and the port a socket was given.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/unique_fd.h"

namespace kestrelon {

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;

    int family() const { return storage.ss_family; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&storage); }
};

// An IPv4 or IPv6 address written as numbers ("127.0.0.1", "::1"); nothing for anything else.
std::optional<SocketAddress> NumericAddress(const std::string& host, uint16_t port);

// A loopback address: 127.0.0.0/8, ::1, or 127.0.0.0/8 mapped into IPv6 (::ffff:127.x.y.z).
bool IsLoopback(const SocketAddress& address);

// How many connections a listening socket holds until they are accepted.
inline constexpr int kListenBacklog = 50;

// A new non-blocking stream socket of `family`, closed on exec; invalid (errno set) on failure.
UniqueFd OpenStreamSocket(int family);

// A non-blocking socket listening on `address` (an IPv6 one for IPv6 only); invalid, with errno
// set, when it cannot be had.
UniqueFd ListenTcp(const SocketAddress& address);

// Starts connecting `fd` to `address`: 0 when the connect is made or under way, else its errno.
int StartConnect(int fd, const SocketAddress& address);

// The local port of a bound socket, 0 when it has none.
uint16_t LocalPort(int fd);

}  // namespace kestrelon
