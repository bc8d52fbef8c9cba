// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket: one Kestrelon per user session listens on it, and a second start or
// kestrelonctl hands it one request line and gets one answer line back.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace kestrelon {

// The socket's path: in the session's runtime directory, private to the user.
QString ControlSocketPath();

class LocalControl {
public:
    using Reply = std::function<void(const std::string& answer)>;
    // Answers a request now or later (through `reply`, at most once).
    using Handler = std::function<void(const std::string& request, Reply reply)>;

    // Sends one request to the program listening at `path` and waits for its answer; nothing
    // when no program listens there.
    static std::optional<std::string> Ask(const QString& path, const std::string& request,
                                          int answerMs = 10000);

    LocalControl(const QString& path, Handler handler);
    bool listening() const { return server_.isListening(); }

private:
    QLocalServer server_;
    Handler handler_;
};

}  // namespace kestrelon
