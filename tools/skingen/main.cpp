// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelon-skingen OUTDIR: draws the default skin into OUTDIR at build time.
#include <QGuiApplication>
#include <cstdio>

#include "core/headless_qt.h"
#include "tools/skingen/generate.h"

int main(int argc, char** argv) {
    kestrelon::PrepareHeadlessQt();
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "kestrelon: usage: kestrelon-skingen OUTDIR\n");
        return 2;
    }
    return kestrelon::skingen::writeSkin(argv[1]) ? 0 : 1;
}
