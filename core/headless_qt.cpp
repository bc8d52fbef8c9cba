// SPDX-License-Identifier: GPL-3.0-or-later
// Offscreen platform and runtime directory for display-less Qt programs.
#include "core/headless_qt.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QtGlobal>
#include <string>

namespace kestrelon {

void PrepareHeadlessQt() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const std::string dir = "/tmp/kestrelon-runtime-" + std::to_string(getuid());
    struct stat st {};
    if (mkdir(dir.c_str(), 0700) == 0 || (lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                                          st.st_uid == getuid() && (st.st_mode & 0777) == 0700))
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
}

}  // namespace kestrelon
