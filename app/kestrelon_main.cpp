// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelon and kestrelon-demo: the desktop program on the USB panel or on the simulated one.
#include <QApplication>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <iostream>

#include "app/desktop_program.h"
#include "app/skin_dir.h"
#include "app/stall_watch.h"
#include "app/termination.h"
#include "settings/options_file.h"
#include "settings/settings_path.h"

#ifndef KESTRELON_SIMULATED
#define KESTRELON_SIMULATED 0
#endif

int main(int argc, char** argv) {
    using namespace kestrelon;
    const bool simulated = KESTRELON_SIMULATED != 0;
    bool help = false;
    std::string why;
    auto options =
        ParseDesktopOptions(std::vector<std::string>(argv + 1, argv + argc), simulated, help, why);
    if (!options) {
        std::cerr << "kestrelon: " << why << "\n" << DesktopUsage(simulated);
        return 2;
    }
    if (help) {
        std::cout << DesktopUsage(simulated);
        return 0;
    }
    options->skinDir = SkinDirectory(argv[0]);
    options->settingsPath = DefaultSettingsPath();
    options->optionsPath = DefaultOptionsPath();

#ifdef __GLIBC__
    // The window's pictures (1.1 MB each) are made and dropped while it shows. With a fixed
    // threshold they get mappings of their own, which go back to the system when dropped;
    // glibc's sliding threshold would soon keep them in the heap for the rest of a run that
    // lasts months.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // Whole-number display scales keep the skin's pixels and its outline crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName("kestrelon");
    QApplication::setDesktopFileName(KESTRELON_APP_ID);
    QApplication::setQuitOnLastWindowClosed(false);
    // For measurements only (bench/click_stall.sh): how long the window's thread stalls.
    const std::unique_ptr<StallWatch> stallWatch = StallWatch::FromEnvironment();

    DesktopProgram program(*options);
    // Installed before start-up, whose panel push can take seconds: a logout then still ends
    // the program cleanly, once start-up's exchange is over.
    EndOnTerminationSignals([&program] { program.endNow(); });
    if (auto status = program.start()) return *status;
    return QApplication::exec();
}
