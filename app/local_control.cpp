// The local socket that keeps one instance per user session.
#include "app/single_instance.h"

#include <unistd.h>

#include <QLocalSocket>
#include <QStandardPaths>

namespace kestrelon {

namespace {

constexpr int kConnectMs = 500;
constexpr int kAnswerMs = 5000;
constexpr qint64 kLongestRequest = 4096;

}  // namespace

QString InstanceSocketName() {
    // The session's runtime directory is private to the user and ends with the session.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) return runtime + "/kestrelon.socket";
    return QString("kestrelon-%1").arg(getuid());
}

bool SingleInstance::SendToRunning(const QString& name, const std::string& request) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectMs)) return false;
    socket.write(QByteArray::fromStdString(request + "\n"));
    if (!socket.waitForBytesWritten(kConnectMs)) return false;
    // The running one answers once it has acted; an instance that hangs is still one.
    socket.waitForReadyRead(kAnswerMs);
    return true;
}

SingleInstance::SingleInstance(const QString& name, Handler handler) : handler_(std::move(handler)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name)) {
        // A socket left behind by an instance that died: nobody answered on it, so replace it.
        QLocalServer::removeServer(name);
        server_.listen(name);
    }
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > kLongestRequest) socket->abort();
                    return;
                }
                const std::string request = socket->readLine(kLongestRequest).trimmed().toStdString();
                const std::string answer = handler_ ? handler_(request) : std::string("ok");
                socket->write(QByteArray::fromStdString(answer + "\n"));
                socket->disconnectFromServer();
            });
        }
    });
}

}  // namespace kestrelon
