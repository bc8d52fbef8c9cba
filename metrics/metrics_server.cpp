// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics endpoint's connections: read a bounded head, answer once, close.
#include "metrics/metrics_server.h"

#include <QTimer>
#include <cerrno>
#include <cstring>

#include "core/log.h"
#include "metrics/http_request.h"
#include "net/socket_address.h"
#include "net/stream_connection.h"
#include "net/stream_listener.h"

namespace kestrelon {

namespace {

// Why a listen failed, in the words the endpoint has always logged.
std::string ListenError(int error) {
    switch (error) {
        case EADDRINUSE:
            return "The bound address is already in use";
        case EACCES:
            return "The address is protected";
        case EADDRNOTAVAIL:
        case EAFNOSUPPORT:
            return "The address is not available";
        default:
            return std::strerror(error);
    }
}

}  // namespace

MetricsServer::MetricsServer(Source exposition, Limits limits)
    : exposition_(std::move(exposition)), limits_(limits) {}

MetricsServer::~MetricsServer() {
    listener_.reset();
    // Now, while the count they give back still exists.
    qDeleteAll(findChildren<StreamConnection*>(Qt::FindDirectChildrenOnly));
}

bool MetricsServer::listen(const ListenAddress& address) {
    const std::optional<SocketAddress> where =
        NumericAddress(address.host == "localhost" ? "127.0.0.1" : address.host, address.port);
    UniqueFd fd = where ? ListenTcp(*where) : UniqueFd();
    const int error = where ? errno : EADDRNOTAVAIL;
    if (!fd.valid()) {
        LogLine("metrics endpoint: cannot listen on " + address.host + ":" +
                std::to_string(address.port) + ": " + ListenError(error));
        return false;
    }
    listener_ = std::make_unique<StreamListener>(std::move(fd), [this](UniqueFd accepted) {
        if (connections_ >= limits_.maxConnections) return;  // closed at once
        ++connections_;
        // Owned by the server; ending the connection in any way deletes it and gives its place
        // back.
        auto* connection = new StreamConnection(std::move(accepted), false, this);
        connect(connection, &QObject::destroyed, this, [this] { --connections_; });
        serve(connection);
    });
    return true;
}

uint16_t MetricsServer::port() const {
    return listener_ ? LocalPort(listener_->descriptor()) : 0;
}

void MetricsServer::serve(StreamConnection* connection) {
    // The connection owns its timers and, through the handlers, what it has received.
    const auto end = [connection] {
        connection->abort();
        connection->deleteLater();
    };
    auto* idle = new QTimer(connection);
    idle->setSingleShot(true);
    idle->start(limits_.idleMs);
    connect(idle, &QTimer::timeout, connection, end);
    QTimer::singleShot(limits_.deadlineMs, connection, end);
    connection->onClosed = [connection](int) { connection->deleteLater(); };
    connection->onReceived = [this, connection, idle,
                              received = std::string()](std::string_view data) mutable {
        idle->start(limits_.idleMs);
        received.append(data.substr(0, kMaxRequestHead + 1 - received.size()));
        const RequestHead head = ParseRequestHead(received);
        if (head.state == RequestHead::State::Incomplete) return;
        const bool wantsMetrics = head.state == RequestHead::State::Complete &&
                                  (head.method == "GET" || head.method == "HEAD") &&
                                  head.target == "/metrics";
        // What comes after the head is dropped from here on.
        connection->write(HttpAnswer(head, wantsMetrics ? exposition_() : std::string()));
        connection->closeAfterWriting();
    };
}

}  // namespace kestrelon
