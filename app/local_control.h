// SPDX-License-Identifier: GPL-3.0-or-later
// The local control socket: one Kestrelon per user session listens on it, and a second start or
// kestrelonctl hands it one request line and gets one answer line back.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kestrelon {

class StreamConnection;
class StreamListener;

// The socket's path, in a directory only the user can enter: $XDG_RUNTIME_DIR, else
// <temporary directory>/kestrelon-<uid>, which `create` makes (mode 0700) when missing. The
// directory's owner, mode and kind are checked before use: empty, with one line logged, when it
// is not the user's own private directory (or, without `create`, when it is missing).
QString ControlSocketPath(bool create = false);

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
    // The socket (mode 0700) replaces whatever was at `path`, and is removed again on destruction.
    LocalControl(const QString& path, Handler handler);
    ~LocalControl();
    LocalControl(const LocalControl&) = delete;
    LocalControl& operator=(const LocalControl&) = delete;
    bool listening() const { return listener_ != nullptr; }

private:
    void serve(StreamConnection* connection);

    Handler handler_;
    std::string path_;  // where it listens
    std::unique_ptr<StreamListener> listener_;
    QObject connections_;  // the open connections are its children
};

}  // namespace kestrelon
