// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics endpoint: a small HTTP server in the program's own event loop that answers
// GET /metrics with the exposition of the moment. Each request costs one short burst of work;
// nothing a client sends or fails to read can hold the loop.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "metrics/listen_address.h"

namespace kestrelon {

class StreamConnection;
class StreamListener;

struct MetricsLimits {
    int maxConnections = 16;
    int idleMs = 5000;       // a client that sends nothing this long is dropped
    int deadlineMs = 15000;  // no connection lives longer
};

class MetricsServer final : public QObject {
public:
    using Limits = MetricsLimits;

    using Source = std::function<std::string()>;
    explicit MetricsServer(Source exposition, Limits limits = {});
    ~MetricsServer() override;

    // Starts listening; false, with the reason logged in one line, when it cannot.
    bool listen(const ListenAddress& address);
    // The port it listens on (0 when it does not), the system's choice for port 0.
    uint16_t port() const;
    int connections() const { return connections_; }

private:
    void serve(StreamConnection* connection);

    Source exposition_;
    Limits limits_;
    std::unique_ptr<StreamListener> listener_;
    int connections_ = 0;
};

}  // namespace kestrelon
