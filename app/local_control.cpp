// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket: a private directory, peers of our own user only, and one checked
// request line per connection.
#include "app/local_control.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>

#include "app/control_request.h"
#include "app/socket_access.h"
#include "core/log.h"

namespace kestrelon {

namespace {

constexpr int kConnectMs = 500;
constexpr qint64 kLongestLine = static_cast<qint64>(kLongestControlRequest) + 1;  // with '\n'

// Answers one line and closes the connection.
void answer(QLocalSocket* socket, const std::string& line) {
    socket->write(QByteArray::fromStdString(line + "\n"));
    socket->disconnectFromServer();
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
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectMs)) return std::nullopt;
    socket.write(QByteArray::fromStdString(request + "\n"));
    if (!socket.waitForBytesWritten(kConnectMs)) return std::nullopt;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(answerMs))
            return std::string("error no answer from kestrelon");
    }
    return socket.readLine(static_cast<qint64>(kLongestControlAnswer) + 1).trimmed().toStdString();
}

LocalControl::LocalControl(const QString& path, Handler handler) : handler_(std::move(handler)) {
    if (path.isEmpty()) return;  // the reason is logged already
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(path)) {
        // A socket left behind by a program that died: nobody answered on it, so replace it.
        QLocalServer::removeServer(path);
        if (!server_.listen(path)) {
            LogLine("cannot listen on the control socket " + path.toStdString() + ": " +
                    server_.errorString().toStdString());
            return;
        }
    }
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            const int fd = static_cast<int>(socket->socketDescriptor());
            if (!PeerIsUser(fd, geteuid())) {
                const std::optional<uid_t> peer = PeerUid(fd);
                LogLine(
                    "refused a control connection from " +
                    (peer ? "user id " + std::to_string(*peer) : std::string("an unknown peer")));
                socket->abort();
                socket->deleteLater();  // safe beside the one a disconnect asks for
                continue;
            }
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [this, socket] { onReadyRead(socket); });
        }
    });
}

void LocalControl::onReadyRead(QLocalSocket* socket) {
    if (socket->property("kestrelonAsked").toBool()) return;  // one request per connection
    QByteArray line;
    if (socket->canReadLine()) {
        // A line longer than the longest request comes without its newline: the parser
        // refuses it as too long.
        line = socket->readLine(kLongestLine + 1);  // Qt keeps one byte for a terminator
        if (line.endsWith('\n')) line.chop(1);
    } else if (socket->bytesAvailable() >= kLongestLine) {
        line = socket->read(kLongestLine);  // no newline yet, and already too long
    } else {
        return;  // the rest of the line is coming
    }
    socket->setProperty("kestrelonAsked", true);
    std::string why;
    const std::optional<ControlRequest> request = ParseControlRequest(line.toStdString(), why);
    if (!request) return answer(socket, "error " + why);
    QPointer<QLocalSocket> alive(socket);
    handler_(request->text(), [alive](const std::string& reply) {
        if (alive) answer(alive, reply);
    });
}

}  // namespace kestrelon
