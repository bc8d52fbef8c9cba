// SPDX-License-Identifier: GPL-3.0-or-later
// Accepting connections until none waits.
#include "net/stream_listener.h"

#include <sys/socket.h>

#include <cerrno>

namespace kestrelon {

namespace {

// A listener out of descriptors stops this long rather than spin on a connection it cannot take.
constexpr int kPauseMs = 100;

}  // namespace

StreamListener::StreamListener(UniqueFd listening, Accepted accepted)
    : fd_(std::move(listening)),
      accepted_(std::move(accepted)),
      notifier_(fd_.get(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { acceptAll(); });
    pause_.setSingleShot(true);
    connect(&pause_, &QTimer::timeout, this, [this] { notifier_.setEnabled(true); });
}

void StreamListener::acceptAll() {
    for (;;) {
        UniqueFd connection(::accept4(fd_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (connection.valid()) {
            accepted_(std::move(connection));
            continue;
        }
        switch (errno) {
            case EINTR:
            case ECONNABORTED:  // gone before it was taken
                continue;
            case EMFILE:
            case ENFILE:
            case ENOBUFS:
            case ENOMEM:
                notifier_.setEnabled(false);
                pause_.start(kPauseMs);
                return;
            default:  // EAGAIN: none left
                return;
        }
    }
}

}  // namespace kestrelon
