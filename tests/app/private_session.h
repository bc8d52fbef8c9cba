// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop program's session of its own for a test: the one-instance socket of a running
// program is not ours to find, and the history it records is not the user's. Both live under
// the test's temporary directory while the session lasts.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kestrelon {

class PrivateSession {
public:
    explicit PrivateSession(const QTemporaryDir& dir) {
        qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());
        QDir(dir.path()).mkdir("runtime");
        QFile::setPermissions(dir.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.filePath("runtime").toUtf8());
    }
    ~PrivateSession() {
        restore("XDG_RUNTIME_DIR", oldRuntime_);
        restore("XDG_STATE_HOME", oldState_);
    }
    PrivateSession(const PrivateSession&) = delete;
    PrivateSession& operator=(const PrivateSession&) = delete;

private:
    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray oldRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    QByteArray oldState_ = qgetenv("XDG_STATE_HOME");
};

}  // namespace kestrelon
