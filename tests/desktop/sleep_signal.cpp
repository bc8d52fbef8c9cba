// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for logind on a private system bus: takes its name and announces the end of a sleep
// (PrepareForSleep(false)), then keeps the name until it is ended.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.registerService("org.freedesktop.login1")) {
        std::fprintf(stderr, "sleep_signal: cannot take org.freedesktop.login1 on the system bus\n");
        return 1;
    }
    // Each line on standard input ("sleep" or "wake") sends one signal.
    char line[32];
    while (std::fgets(line, sizeof line, stdin)) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
        signal << (line[0] == 's');
        bus.send(signal);
        bus.interface()->isServiceRegistered("org.freedesktop.DBus");  // flushes the send
        std::printf("sent\n");
        std::fflush(stdout);
    }
    return 0;
}
