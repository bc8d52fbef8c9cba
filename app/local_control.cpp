// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket.
#include "app/local_control.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QPointer>

namespace kestrelon {

namespace {

constexpr int kConnectMs = 500;
constexpr qint64 kLongestLine = 4096;

}  // namespace

QString ControlSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) return runtime + "/kestrelon.socket";
    return QDir::tempPath() + QString("/kestrelon-%1.socket").arg(getuid());
}

std::optional<std::string> LocalControl::Ask(const QString& path, const std::string& request,
                                             int answerMs) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectMs)) return std::nullopt;
    socket.write(QByteArray::fromStdString(request + "\n"));
    if (!socket.waitForBytesWritten(kConnectMs)) return std::nullopt;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(answerMs)) return std::string("error no answer from kestrelon");
    }
    return socket.readLine(kLongestLine).trimmed().toStdString();
}

LocalControl::LocalControl(const QString& path, Handler handler) : handler_(std::move(handler)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(path)) {
        // A socket left behind by a program that died: nobody answered on it, so replace it.
        QLocalServer::removeServer(path);
        server_.listen(path);
    }
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > kLongestLine) socket->abort();
                    return;
                }
                const std::string request = socket->readLine(kLongestLine).trimmed().toStdString();
                QPointer<QLocalSocket> alive(socket);
                handler_(request, [alive](const std::string& answer) {
                    if (!alive) return;
                    alive->write(QByteArray::fromStdString(answer + "\n"));
                    alive->disconnectFromServer();
                });
            });
        }
    });
}

}  // namespace kestrelon
