// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket: a private directory, peers of our own user only, and one checked
// request line per connection.
#include "app/local_control.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

#include "app/control_request.h"
#include "app/socket_access.h"
#include "core/log.h"
#include "core/unique_fd.h"
#include "net/socket_address.h"
#include "net/stream_connection.h"
#include "net/stream_listener.h"

namespace kestrelon {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kConnectMs = 500;
constexpr std::size_t kLongestLine = kLongestControlRequest + 1;  // with '\n'

// Answers one line and closes the connection once it is sent.
void Answer(StreamConnection* connection, const std::string& line) {
    connection->write(line + "\n");
    connection->closeAfterWriting();
}

// The address of the socket file at `path`; false when the path does not fit.
bool UnixAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A socket listening at `path`, replacing what is there. It is bound in a directory of its own
// beside `path`, made private and then renamed into place, so that it is never reachable under
// `path` with other permissions. Invalid, with errno set, when that fails.
UniqueFd ListenUnix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string staging = (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
                          "/.kestrelon-XXXXXX";
    if (!::mkdtemp(staging.data())) return UniqueFd();
    const std::string bound = staging + "/s";
    sockaddr_un address;
    UniqueFd fd = OpenStreamSocket(AF_UNIX);
    int error = 0;
    if (!UnixAddress(path, address) || !UnixAddress(bound, address))
        error = ENAMETOOLONG;
    else if (!fd.valid() ||
             ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
             ::listen(fd.get(), kListenBacklog) != 0 || ::chmod(bound.c_str(), 0700) != 0 ||
             ::rename(bound.c_str(), path.c_str()) != 0)
        error = errno;
    ::unlink(bound.c_str());  // left only when it was not renamed
    ::rmdir(staging.c_str());
    if (error != 0) {
        fd = UniqueFd();
        errno = error;
    }
    return fd;
}

int MsLeft(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits until `fd` is ready for `events` or `ms` have passed: false on a time-out or an error.
bool WaitFor(int fd, short events, int ms) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const SteadyClock::time_point start = SteadyClock::now();
        const int ready = ::poll(&entry, 1, ms);
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
        ms = MsLeft(start + std::chrono::milliseconds(ms));
    }
}

// Connects to the listener at `path` within kConnectMs (a listener whose queue is full is asked
// again meanwhile); invalid when nobody listens there.
UniqueFd ConnectUnix(const std::string& path) {
    sockaddr_un address;
    if (!UnixAddress(path, address)) return UniqueFd();
    UniqueFd fd = OpenStreamSocket(AF_UNIX);
    if (!fd.valid()) return fd;
    const SteadyClock::time_point deadline =
        SteadyClock::now() + std::chrono::milliseconds(kConnectMs);
    for (;;) {
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
            errno == EISCONN)
            return fd;
        if (errno == EINTR) continue;
        if (errno == EAGAIN && MsLeft(deadline) > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (errno == EINPROGRESS && WaitFor(fd.get(), POLLOUT, MsLeft(deadline))) {
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                return fd;
        }
        return UniqueFd();
    }
}

// Sends all of `bytes` within `ms`.
bool SendAll(int fd, std::string_view bytes, int ms) {
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::milliseconds(ms);
    while (!bytes.empty()) {
        const ssize_t put = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (put >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(put));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitFor(fd, POLLOUT, MsLeft(deadline))) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Blanks at either end of a line go, as they always have.
std::string Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

QString ControlSocketPath(bool create) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool inRuntime = !runtime.isEmpty() && QDir::isAbsolutePath(runtime);
    // Without a session runtime directory: one of the user's own in the temporary directory,
    // never the socket itself in a directory others can write to.
    const QString dir =
        inRuntime ? runtime : QDir::tempPath() + QString("/kestrelon-%1").arg(geteuid());
    if (!inRuntime && !create && !QFileInfo::exists(dir)) return {};  // nobody serves there
    if (const auto problem =
            PrivateDirectoryProblem(dir.toStdString(), geteuid(), create && !inRuntime)) {
        LogLine("no control socket: " + *problem);
        return {};
    }
    return dir + "/kestrelon.socket";
}

std::optional<std::string> LocalControl::Ask(const QString& path, const std::string& request,
                                             int answerMs) {
    if (path.isEmpty()) return std::nullopt;
    const UniqueFd fd = ConnectUnix(QFile::encodeName(path).toStdString());
    if (!fd.valid()) return std::nullopt;
    if (!SendAll(fd.get(), request + "\n", kConnectMs)) return std::nullopt;
    // The answer is one line; past the longest answer, only its newline is looked for.
    std::string answer;
    char buffer[16 * 1024];
    for (;;) {
        if (!WaitFor(fd.get(), POLLIN, answerMs))
            return std::string("error no answer from kestrelon");
        const ssize_t got = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (got <= 0) return std::string("error no answer from kestrelon");  // closed or failed
        const std::string_view chunk(buffer, static_cast<std::size_t>(got));
        const std::size_t newline = chunk.find('\n');
        answer.append(
            chunk.substr(0, std::min(newline == std::string_view::npos ? chunk.size() : newline + 1,
                                     kLongestControlAnswer - answer.size())));
        if (newline != std::string_view::npos) break;
    }
    return Trimmed(answer);
}

LocalControl::LocalControl(const QString& path, Handler handler) : handler_(std::move(handler)) {
    if (path.isEmpty()) return;  // the reason is logged already
    const std::string name = QFile::encodeName(path).toStdString();
    UniqueFd fd = ListenUnix(name);
    if (!fd.valid()) {
        // Whatever is in the way (the socket of a program that died is replaced already): go.
        ::unlink(name.c_str());
        fd = ListenUnix(name);
        if (!fd.valid()) {
            LogLine("cannot listen on the control socket " + path.toStdString() + ": " +
                    std::strerror(errno));
            return;
        }
    }
    path_ = name;
    listener_ = std::make_unique<StreamListener>(std::move(fd), [this](UniqueFd accepted) {
        if (!PeerIsUser(accepted.get(), geteuid())) {
            const std::optional<uid_t> peer = PeerUid(accepted.get());
            LogLine("refused a control connection from " +
                    (peer ? "user id " + std::to_string(*peer) : std::string("an unknown peer")));
            return;  // closed here
        }
        // A child of connections_: deleted when it ends, or with the server.
        serve(new StreamConnection(std::move(accepted), false, &connections_));
    });
}

LocalControl::~LocalControl() {
    if (!listener_) return;
    listener_.reset();
    qDeleteAll(connections_.findChildren<StreamConnection*>(Qt::FindDirectChildrenOnly));
    ::unlink(path_.c_str());
}

void LocalControl::serve(StreamConnection* connection) {
    connection->onClosed = [connection](int) { connection->deleteLater(); };
    connection->onReceived = [this, connection, line = std::string(),
                              asked = false](std::string_view bytes) mutable {
        if (asked) return;  // one request per connection
        line.append(bytes.substr(0, kLongestLine - line.size()));
        const std::size_t newline = line.find('\n');
        // A line longer than the longest request, with or without its newline, is refused by
        // the parser as too long.
        if (newline != std::string::npos)
            line.resize(newline);
        else if (line.size() < kLongestLine)
            return;  // the rest of the line is coming
        asked = true;
        std::string why;
        const std::optional<ControlRequest> request = ParseControlRequest(line, why);
        if (!request) return Answer(connection, "error " + why);
        QPointer<StreamConnection> alive(connection);
        handler_(request->text(), [alive](const std::string& reply) {
            if (alive) Answer(alive, reply);
        });
    };
}

}  // namespace kestrelon
