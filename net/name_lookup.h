// SPDX-License-Identifier: GPL-3.0-or-later
// A host name resolved off the event loop: getaddrinfo runs on a thread of its own, and its
// addresses come back to the loop of the thread that asked.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/socket_address.h"

namespace kestrelon {

class NameLookup {
public:
    // The addresses of the name in the resolver's order; none when it could not be resolved.
    using Done = std::function<void(std::vector<SocketAddress> addresses)>;

    // Starts resolving `host` for stream connections to `port`. `done` is called once, from the
    // event loop, unless the lookup is destroyed first.
    NameLookup(std::string host, uint16_t port, Done done);
    // Abandons a lookup still running: its thread finishes on its own, and its answer is dropped.
    ~NameLookup();
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

private:
    struct Shared;  // what the lookup's thread and the lookup share

    QObject receiver_;  // the answer is posted to it
    std::shared_ptr<Shared> shared_;
    Done done_;
};

}  // namespace kestrelon
