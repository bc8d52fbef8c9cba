// SPDX-License-Identifier: GPL-3.0-or-later
// Qt for the fuzz targets that decode pictures: an offscreen QGuiApplication made once, as the
// programs have one when they load their skin, and coverage for Qt's own decoders.
#pragma once

#include <QGuiApplication>
#include <QImageReader>
#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/headless_qt.h"

namespace kestrelon::fuzz {

// Pictures this large are refused before decoding (Qt's own limit is larger): the fuzzer makes
// many headers that promise huge pictures, and their decoding would slow it to a crawl.
inline constexpr int kAllocationLimitMb = 4;

inline void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || type == QtCriticalMsg) qt_message_output(type, {}, text);
}

inline void StartQt() {
    static int argc = 1;
    static char name[] = "kestrelon-fuzz";
    static char* argv[] = {name, nullptr};
    PrepareHeadlessQt();
    static QGuiApplication app(argc, argv);
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    qInstallMessageHandler(QuietMessages);  // the decoders warn about every broken header
}

// Qt's decoders are not built with coverage, so the fuzzer cannot see which of their paths an
// input took. The targets mark what came out instead (format, size class, error) in counters
// that libFuzzer reads as extra coverage, so inputs that decode differently are kept.
inline constexpr size_t kOutcomeCounters = 1024;
__attribute__((
    section("__libfuzzer_extra_counters"))) inline uint8_t outcome_counters[kOutcomeCounters];

// Marks outcome `value` of the aspect `aspect` (0..15) as seen.
inline void NoteOutcome(unsigned aspect, size_t value) {
    const size_t slot = (aspect % 16) * (kOutcomeCounters / 16) + value % (kOutcomeCounters / 16);
    if (outcome_counters[slot] < 255) ++outcome_counters[slot];
}

// The size class of a dimension: 0 for none, else 1 + its number of binary digits.
inline size_t SizeClass(int n) {
    return n <= 0 ? 0 : 1 + static_cast<size_t>(std::bit_width(static_cast<unsigned>(n)));
}

inline size_t TextClass(const QString& text) {
    return std::hash<QString>{}(text);
}

}  // namespace kestrelon::fuzz
