// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics endpoint's connections: read a bounded head, answer once, close.
#include "metrics/metrics_server.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "core/log.h"
#include "metrics/http_request.h"

namespace kestrelon {

MetricsServer::MetricsServer(Source exposition, Limits limits)
    : exposition_(std::move(exposition)), limits_(limits) {
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

MetricsServer::~MetricsServer() = default;

bool MetricsServer::listen(const ListenAddress& address) {
    const QHostAddress host = address.host == "localhost"
                                  ? QHostAddress(QHostAddress::LocalHost)
                                  : QHostAddress(QString::fromStdString(address.host));
    if (server_.listen(host, address.port)) return true;
    LogLine("metrics endpoint: cannot listen on " + address.host + ":" +
            std::to_string(address.port) + ": " + server_.errorString().toStdString());
    return false;
}

void MetricsServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (connections_ >= limits_.maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++connections_;
        serve(socket);
    }
}

void MetricsServer::serve(QTcpSocket* socket) {
    // The socket owns its timer and, through the connections, what it has received; ending the
    // connection in any way deletes the socket and gives its place back.
    struct Request {
        QByteArray received;
        bool answered = false;
    };
    auto request = std::make_shared<Request>();
    const auto end = [socket] {
        socket->abort();
        socket->deleteLater();
    };
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(limits_.idleMs);
    connect(idle, &QTimer::timeout, socket, end);
    QTimer::singleShot(limits_.deadlineMs, socket, end);
    socket->setReadBufferSize(kMaxRequestHead + 1);
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, idle, request] {
        const QByteArray data = socket->readAll();
        if (request->answered) return;  // the rest of a request already answered is dropped
        idle->start(limits_.idleMs);
        request->received.append(
            data.left(static_cast<qsizetype>(kMaxRequestHead) + 1 - request->received.size()));
        const RequestHead head = ParseRequestHead(
            std::string_view(request->received.constData(), request->received.size()));
        if (head.state == RequestHead::State::Incomplete) return;
        request->answered = true;
        const bool wantsMetrics = head.state == RequestHead::State::Complete &&
                                  (head.method == "GET" || head.method == "HEAD") &&
                                  head.target == "/metrics";
        socket->write(QByteArray::fromStdString(
            HttpAnswer(head, wantsMetrics ? exposition_() : std::string())));
        socket->disconnectFromHost();
    });
}

}  // namespace kestrelon
