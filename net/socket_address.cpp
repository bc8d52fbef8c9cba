// SPDX-License-Identifier: GPL-3.0-or-later
// Numeric addresses, listening and connecting.
#include "net/socket_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cerrno>
#include <cstring>

namespace kestrelon {

std::optional<SocketAddress> NumericAddress(const std::string& host, uint16_t port) {
    SocketAddress address;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
    if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(port);
        address.length = sizeof(sockaddr_in);
        return address;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
    if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(port);
        address.length = sizeof(sockaddr_in6);
        return address;
    }
    return std::nullopt;
}

bool IsLoopback(const SocketAddress& address) {
    if (address.family() == AF_INET) {
        const in_addr_t v4 =
            reinterpret_cast<const sockaddr_in*>(&address.storage)->sin_addr.s_addr;
        return ntohl(v4) >> IN_CLASSA_NSHIFT == IN_LOOPBACKNET;
    }
    if (address.family() != AF_INET6) return false;
    const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(&address.storage)->sin6_addr;
    return IN6_IS_ADDR_LOOPBACK(&v6) ||
           (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == IN_LOOPBACKNET);
}

UniqueFd OpenStreamSocket(int family) {
    return UniqueFd(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

UniqueFd ListenTcp(const SocketAddress& address) {
    UniqueFd fd = OpenStreamSocket(address.family());
    if (!fd.valid()) return fd;
    const int on = 1;
    // A port left in TIME_WAIT by the last run can be taken again at once; one in use cannot.
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (address.family() == AF_INET6)
        ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    if (::bind(fd.get(), address.get(), address.length) != 0 ||
        ::listen(fd.get(), kListenBacklog) != 0) {
        const int error = errno;
        fd = UniqueFd();
        errno = error;
    }
    return fd;
}

int StartConnect(int fd, const SocketAddress& address) {
    if (::connect(fd, address.get(), address.length) == 0) return 0;
    // Interrupted, a non-blocking connect goes on by itself.
    return errno == EINPROGRESS || errno == EINTR ? 0 : errno;
}

uint16_t LocalPort(int fd) {
    SocketAddress address;
    address.length = sizeof address.storage;
    if (fd < 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address.storage), &address.length) != 0)
        return 0;
    if (address.family() == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&address.storage)->sin_port);
    if (address.family() == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address.storage)->sin6_port);
    return 0;
}

}  // namespace kestrelon
