// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for resident memory: a bare Qt 6 widgets program that does nothing but keep a
// hidden 660 x 441 window behind a tray icon, as Kestrelon does when idle. bench/idle.sh measures
// it beside kestrelon-demo; `--show` shows its window instead. `--wake N` adds a timer that wakes
// the program N times a second and does nothing else: the floor of what N wake-ups cost.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("bare Qt tray");
    window.resize(660, 441);
    QPixmap picture(24, 24);
    picture.fill(Qt::darkGray);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip("bare Qt tray");
    tray.show();
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--show") == 0) window.show();
        if (std::strcmp(argv[i], "--wake") == 0 && i + 1 < argc) {
            const int perSecond = std::atoi(argv[++i]);
            if (perSecond > 0) wake.start(1000 / perSecond);
        }
    }
    return QApplication::exec();
}
