// SPDX-License-Identifier: GPL-3.0-or-later
// One non-blocking stream socket (TCP or Unix) driven by the event loop: what arrives is handed
// over as it comes, what is written is queued and sent as the socket takes it, and the end,
// orderly or not, is reported once.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/unique_fd.h"

class QSocketNotifier;
class QTimer;

namespace kestrelon {

class StreamConnection final : public QObject {
public:
    // How long a connection that has sent everything waits for its peer to close before it
    // closes itself.
    static constexpr int kLingerMs = 1000;

    // Takes `fd`, a stream socket (made non-blocking here): connected, or (with `connecting`) with
    // a connect under way, which `onConnected` or `onClosed` ends.
    StreamConnection(UniqueFd fd, bool connecting, QObject* parent = nullptr);
    ~StreamConnection() override;
    StreamConnection(const StreamConnection&) = delete;
    StreamConnection& operator=(const StreamConnection&) = delete;

    // The connect under way has been made.
    std::function<void()> onConnected;
    // Bytes have arrived, in order. Bytes that arrive once closeAfterWriting was called are
    // dropped.
    std::function<void(std::string_view bytes)> onReceived;
    // The connection is over and its socket closed: `error` is 0 when the peer closed it in
    // order (or after closeAfterWriting), else the errno of the failure (a connect refused, a
    // reset...). Called once; nothing else is called after it. Not called after abort().
    std::function<void(int error)> onClosed;

    // Queues bytes to send; nothing happens once the connection is closing or closed. Never calls
    // back: a failure to send is reported by onClosed from the event loop.
    void write(std::string_view bytes);
    // Sends what is queued, then closes the sending side and waits up to kLingerMs for the peer
    // to close (reading and dropping what it still sends), so that it reads the whole answer.
    void closeAfterWriting();
    // Closes at once, without a call to onClosed; what was queued is lost.
    void abort();

    bool isOpen() const { return fd_.valid(); }
    int descriptor() const { return fd_.get(); }
    std::size_t bytesToWrite() const { return queued_.size() - sent_; }

private:
    enum class State { Connecting, Open, Closing };

    void readable();
    void writable();
    void connectDone();
    bool flush();  // false when the socket failed (already reported)
    void shutDownSending();
    void end(int error);
    void updateWriteNotifier();

    UniqueFd fd_;
    State state_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    std::unique_ptr<QTimer> linger_;
    std::string queued_;  // bytes not yet sent start at sent_
    std::size_t sent_ = 0;
    bool sendingShut_ = false;
};

}  // namespace kestrelon
