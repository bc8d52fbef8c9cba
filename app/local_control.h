// One Kestrelon per user session: the first one listens on a local socket; a second start hands
// its request to the first and ends.
#pragma once

#include <QLocalServer>
#include <functional>
#include <memory>
#include <string>

namespace kestrelon {

// The socket's path: in the user's runtime directory, so one per user session.
QString InstanceSocketName();

class SingleInstance {
public:
    using Handler = std::function<std::string(const std::string& request)>;

    // Sends one request line to a running instance; true when one took it.
    static bool SendToRunning(const QString& name, const std::string& request);

    // Starts listening; each connection sends one line and gets the handler's answer line back.
    explicit SingleInstance(const QString& name, Handler handler);
    bool listening() const { return server_.isListening(); }

private:
    QLocalServer server_;
    Handler handler_;
};

}  // namespace kestrelon
