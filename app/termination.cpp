// SPDX-License-Identifier: GPL-3.0-or-later
// Termination signals through a self-pipe: the handler only writes a byte; the event loop reads
// it and ends the program.
#include "app/termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace kestrelon {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const int savedErrno = errno;  // the interrupted code may be about to read it
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

void EndOnTerminationSignals(std::function<void()> end) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read,
                                         QCoreApplication::instance());  // owned by the app
    QObject::connect(notifier, &QSocketNotifier::activated, [notifier, end = std::move(end)] {
        char drain[16];
        while (::read(signalPipe[0], drain, sizeof drain) > 0) {
        }
        notifier->setEnabled(false);
        end();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace kestrelon
