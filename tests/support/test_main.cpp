// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: a QApplication exists for every test (offscreen), as QPainter text and the
// event loop need one.
#include <gtest/gtest.h>

#include <QApplication>

#include "core/headless_qt.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kestrelon::PrepareHeadlessQt();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
