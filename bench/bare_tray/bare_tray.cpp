// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for resident memory: a bare Qt 6 widgets program that does nothing but keep a
// hidden 660 x 441 window behind a tray icon, as Kestrelon does when idle. bench/idle.sh measures
// it beside kestrelon-demo; `--show` shows its window instead.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>
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
    if (argc > 1 && std::strcmp(argv[1], "--show") == 0) window.show();
    return QApplication::exec();
}
