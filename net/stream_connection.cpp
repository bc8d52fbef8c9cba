// SPDX-License-Identifier: GPL-3.0-or-later
// The connection's reads, queued writes and orderly close on two socket notifiers.
#include "net/stream_connection.h"

#include <fcntl.h>
#include <sys/socket.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

namespace kestrelon {

namespace {

constexpr std::size_t kReadChunk = 16 * 1024;
// Chunks read in one turn of the event loop, so that one busy peer cannot hold the loop.
constexpr int kChunksPerTurn = 8;

}  // namespace

StreamConnection::StreamConnection(UniqueFd fd, bool connecting, QObject* parent)
    : QObject(parent),
      fd_(std::move(fd)),
      state_(connecting ? State::Connecting : State::Open),
      readNotifier_(std::make_unique<QSocketNotifier>(fd_.get(), QSocketNotifier::Read)),
      writeNotifier_(std::make_unique<QSocketNotifier>(fd_.get(), QSocketNotifier::Write)) {
    // Never blocking, whoever made the socket.
    const int flags = ::fcntl(fd_.get(), F_GETFL);
    if (flags >= 0 && !(flags & O_NONBLOCK)) ::fcntl(fd_.get(), F_SETFL, flags | O_NONBLOCK);
    readNotifier_->setEnabled(!connecting);
    writeNotifier_->setEnabled(connecting);
    connect(readNotifier_.get(), &QSocketNotifier::activated, this, [this] { readable(); });
    connect(writeNotifier_.get(), &QSocketNotifier::activated, this, [this] { writable(); });
}

StreamConnection::~StreamConnection() {
    abort();
}

void StreamConnection::write(std::string_view bytes) {
    if (!isOpen() || state_ == State::Closing || bytes.empty()) return;
    if (sent_ == queued_.size()) {
        queued_.clear();
        sent_ = 0;
    }
    queued_.append(bytes);
    if (state_ == State::Open) updateWriteNotifier();  // sent from the loop, never from here
}

void StreamConnection::closeAfterWriting() {
    if (!isOpen() || state_ == State::Closing) return;
    const bool connecting = state_ == State::Connecting;
    state_ = State::Closing;
    if (connecting) return end(0);  // nothing was ever sent
    linger_ = std::make_unique<QTimer>();
    linger_->setSingleShot(true);
    connect(linger_.get(), &QTimer::timeout, this, [this] { end(0); });
    updateWriteNotifier();
}

void StreamConnection::abort() {
    if (!isOpen()) return;
    // Disabled before the descriptor goes, so that no notifier watches a number reused later.
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    if (linger_) linger_->stop();
    fd_.close();
    queued_.clear();
    sent_ = 0;
}

void StreamConnection::readable() {
    char buffer[kReadChunk];
    for (int chunk = 0; chunk < kChunksPerTurn && isOpen(); ++chunk) {
        const ssize_t got = ::recv(fd_.get(), buffer, sizeof buffer, 0);
        if (got > 0) {
            if (state_ == State::Open && onReceived)
                onReceived(std::string_view(buffer, static_cast<std::size_t>(got)));
            continue;  // the handler may have closed the connection: the loop checks
        }
        if (got == 0) return end(0);  // the peer closed
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        return end(errno);
    }
}

void StreamConnection::writable() {
    if (state_ == State::Connecting) return connectDone();
    if (!flush()) return;
    updateWriteNotifier();
}

void StreamConnection::connectDone() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == EINPROGRESS || error == EINTR) return;  // not yet
    if (error != 0) return end(error);
    state_ = State::Open;
    readNotifier_->setEnabled(true);
    updateWriteNotifier();
    if (onConnected) onConnected();
}

bool StreamConnection::flush() {
    while (sent_ < queued_.size()) {
        const ssize_t put =
            ::send(fd_.get(), queued_.data() + sent_, queued_.size() - sent_, MSG_NOSIGNAL);
        if (put >= 0) {
            sent_ += static_cast<std::size_t>(put);
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
        end(errno);
        return false;
    }
    queued_.clear();
    sent_ = 0;
    return true;
}

void StreamConnection::updateWriteNotifier() {
    if (!isOpen()) return;
    const bool pending = sent_ < queued_.size();
    writeNotifier_->setEnabled(pending);
    if (!pending && state_ == State::Closing && !sendingShut_) shutDownSending();
}

void StreamConnection::shutDownSending() {
    sendingShut_ = true;
    // The peer reads the end of the answer, then closes; a peer that does not is not waited for
    // long. Reading goes on meanwhile: closing with unread bytes would reset the connection and
    // could take the answer with it.
    if (::shutdown(fd_.get(), SHUT_WR) != 0 && errno != ENOTCONN) return end(errno);
    linger_->start(kLingerMs);
}

void StreamConnection::end(int error) {
    if (!isOpen()) return;
    abort();
    if (onClosed) onClosed(error);
}

}  // namespace kestrelon
