// SPDX-License-Identifier: GPL-3.0-or-later
// A listening stream socket on the event loop: each connection it accepts is handed over as a
// non-blocking descriptor.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>

#include "core/unique_fd.h"

namespace kestrelon {

class StreamListener final : public QObject {
public:
    // A new connection, non-blocking and closed on exec.
    using Accepted = std::function<void(UniqueFd connection)>;

    // Takes `listening`, a non-blocking socket that listens already.
    StreamListener(UniqueFd listening, Accepted accepted);
    int descriptor() const { return fd_.get(); }

private:
    void acceptAll();

    UniqueFd fd_;
    Accepted accepted_;
    QSocketNotifier notifier_;
    QTimer pause_;  // after running out of descriptors, before accepting again
};

}  // namespace kestrelon
