// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the metrics endpoint's address.
#include "metrics/listen_address.h"

#include <arpa/inet.h>

#include <charconv>

namespace kestrelon {

std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& why) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        why = "needs HOST:PORT";
        return std::nullopt;
    }
    std::string_view host = text.substr(0, colon);
    const std::string_view portText = text.substr(colon + 1);
    int port = 0;
    const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (ec != std::errc() || end != portText.data() + portText.size() || port < 1 || port > 65535) {
        why = "the port must be a number from 1 to 65535";
        return std::nullopt;
    }
    const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
    if (bracketed) host = host.substr(1, host.size() - 2);
    ListenAddress address{host.empty() ? "127.0.0.1" : std::string(host),
                          static_cast<uint16_t>(port)};
    unsigned char bytes[16];
    const bool v4 = !bracketed && inet_pton(AF_INET, address.host.c_str(), bytes) == 1;
    const bool v6 = bracketed && inet_pton(AF_INET6, address.host.c_str(), bytes) == 1;
    if (!v4 && !v6 && !(address.host == "localhost" && !bracketed)) {
        why = "the host must be an IP address (IPv6 in brackets) or localhost";
        return std::nullopt;
    }
    return address;
}

}  // namespace kestrelon
