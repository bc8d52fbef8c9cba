// SPDX-License-Identifier: GPL-3.0-or-later
// Where the metrics endpoint listens, as the options file writes it: "HOST:PORT", "[IPv6]:PORT"
// or ":PORT" (loopback). Another machine reaches it only through an address written out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrelon {

struct ListenAddress {
    std::string host;  // an IPv4 or IPv6 address, or "localhost"
    uint16_t port = 0;

    bool operator==(const ListenAddress&) const = default;
};

// Nothing, and why in `why`, for text that is not such an address (a port outside 1..65535, a
// host name other than localhost, anything after the port).
std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& why);

}  // namespace kestrelon
