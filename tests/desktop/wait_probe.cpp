// SPDX-License-Identifier: GPL-3.0-or-later
// A window that starts a desktop wait once it is shown and reports when the wait ends and when
// a mouse press reaches it; the real-window test clicks it during the wait.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/qt_waiter.h"

namespace {

void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

struct ProbeWindow final : QWidget {
    std::function<void()> onFirstPaint;  // the window is mapped and exposed by then
    void paintEvent(QPaintEvent*) override {
        if (auto start = std::exchange(onFirstPaint, nullptr)) QTimer::singleShot(0, start);
    }
    void mousePressEvent(QMouseEvent*) override {
        say("press");
        QTimer::singleShot(100, qApp, &QApplication::quit);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int waitMs = argc > 1 ? std::atoi(argv[1]) : 3000;
    ProbeWindow window;
    window.setGeometry(0, 0, 200, 200);
    kestrelon::QtWaiter waiter;
    window.onFirstPaint = [&] {
        say("waiting");
        waiter.delay(waitMs);
        say("wait ended");
    };
    window.show();
    QTimer::singleShot(waitMs + 5000, &app, &QApplication::quit);
    return app.exec();
}
