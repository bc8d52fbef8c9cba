// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup's thread owns copies of the name and a share of the state; the lookup lets go of
// the state's receiver before it goes, so a late answer is never posted to it.
#include "net/name_lookup.h"

#include <netdb.h>

#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace kestrelon {

struct NameLookup::Shared {
    std::mutex mutex;
    NameLookup* owner = nullptr;  // nullptr once abandoned
};

namespace {

std::vector<SocketAddress> Resolve(const std::string& host, uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    std::vector<SocketAddress> addresses;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return addresses;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage)) continue;
        SocketAddress address;
        std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
        address.length = a->ai_addrlen;
        addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return addresses;
}

}  // namespace

NameLookup::NameLookup(std::string host, uint16_t port, Done done)
    : shared_(std::make_shared<Shared>()), done_(std::move(done)) {
    shared_->owner = this;
    const auto answer = [](NameLookup* owner, std::vector<SocketAddress> addresses) {
        // Runs on the receiver's thread; Qt drops it when the receiver is destroyed first.
        QMetaObject::invokeMethod(
            &owner->receiver_,
            [owner, addresses = std::move(addresses)]() mutable {
                if (owner->done_) owner->done_(std::move(addresses));
            },
            Qt::QueuedConnection);
    };
    try {
        std::thread([shared = shared_, host = std::move(host), port, answer] {
            std::vector<SocketAddress> addresses = Resolve(host, port);
            const std::lock_guard lock(shared->mutex);
            if (shared->owner) answer(shared->owner, std::move(addresses));
        }).detach();
    } catch (const std::system_error&) {
        answer(this, {});  // no thread to be had: nothing resolved
    }
}

NameLookup::~NameLookup() {
    const std::lock_guard lock(shared_->mutex);
    shared_->owner = nullptr;
}

}  // namespace kestrelon
