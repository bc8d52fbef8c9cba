// SPDX-License-Identifier: GPL-3.0-or-later
// The little HTTP the metrics endpoint speaks: a request head read as it arrives, bounded in
// size, and the one answer for each request.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrelon {

// The most a request line and its headers may take together.
inline constexpr std::size_t kMaxRequestHead = 8 * 1024;

struct RequestHead {
    enum class State { Incomplete, Complete, Bad, TooLarge };
    State state = State::Incomplete;
    std::string method;
    std::string target;  // the path, without a query
};

// Reads the head of a request from what has arrived so far (the head ends at the first empty
// line; lines end in CRLF or LF). Anything past the head is ignored: the endpoint takes no body.
RequestHead ParseRequestHead(std::string_view received);

// The whole answer to a request head, given the exposition to serve: 200 for GET or HEAD of
// /metrics, 404 for another path, 405 for another method, 400 for a bad request and 431 for one
// too large. Every answer closes the connection.
std::string HttpAnswer(const RequestHead& head, const std::string& exposition);

}  // namespace kestrelon
