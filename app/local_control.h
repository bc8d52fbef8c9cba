// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket: one Kestrelon per user session listens on it, and a second start or
// kestrelonctl hands it one request line and gets one answer line back.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace kestrelon {

// The socket's path, in a directory only the user can enter: $XDG_RUNTIME_DIR, else
// <temporary directory>/kestrelon-<uid>, which `create` makes (mode 0700) when missing. The
// directory's owner, mode and kind are checked before use: empty, with one line logged, when it
// is not the user's own private directory (or, without `create`, when it is missing).
QString ControlSocketPath(bool create = false);

// The longest answer line read: a history answer holds up to an hour of one row a second.
inline constexpr std::size_t kLongestControlAnswer = 4 << 20;

class LocalControl {
public:
    using Reply = std::function<void(const std::string& answer)>;
    // Answers a request now or later (through `reply`, at most once).
    using Handler = std::function<void(const std::string& request, Reply reply)>;

    // Sends one request to the program listening at `path` and waits for its answer; nothing
    // when no program listens there (or `path` is empty).
    static std::optional<std::string> Ask(const QString& path, const std::string& request,
                                          int answerMs = 10000);

    // Listens at `path` (nothing for an empty path); a listen that fails is logged in one line.
    // Connections from other users are refused; a request line that is too long, malformed or
    // unknown is answered with one "error ..." line without reaching the handler, and closed.
    LocalControl(const QString& path, Handler handler);
    bool listening() const { return server_.isListening(); }

private:
    void onReadyRead(QLocalSocket* socket);

    QLocalServer server_;
    Handler handler_;
};

}  // namespace kestrelon
