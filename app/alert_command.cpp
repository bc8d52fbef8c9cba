// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the alert command.
#include "app/alert_command.h"

#include <QProcess>
#include <QProcessEnvironment>

#include "alerts/alert_text.h"
#include "core/log.h"

namespace kestrelon {

bool RunAlertCommand(const std::string& command, const AlertChange& change,
                     const std::string& name) {
    QStringList words = QProcess::splitCommand(QString::fromStdString(command));
    if (words.isEmpty()) return false;
    QProcess process;
    process.setProgram(words.takeFirst());
    process.setArguments(words);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [variable, value] : alertEnvironment(change, name))
        environment.insert(QString::fromStdString(variable), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached()) return true;
    LogLine("cannot start the alert command " + command + ": " +
            process.errorString().toStdString());
    return false;
}

}  // namespace kestrelon
