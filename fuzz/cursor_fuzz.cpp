// SPDX-License-Identifier: GPL-3.0-or-later
// Skin pointer files from arbitrary bytes: DecodeCursor, and the cursor the desktop program
// makes of what it accepts.
#include <QBuffer>
#include <QByteArray>
#include <QCursor>
#include <QImageReader>
#include <QPixmap>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_qt.h"
#include "skin/cursor_file.h"

using namespace kestrelon;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QImageReader header(&buffer, "cur");
        fuzz::NoteOutcome(0, static_cast<size_t>(header.imageFormat()));
        fuzz::NoteOutcome(1, static_cast<size_t>(header.imageCount() + 1));
    }
    const auto cursor = DecodeCursor(bytes);
    if (!cursor) return 0;
    fuzz::NoteOutcome(2, fuzz::SizeClass(cursor->image.width()));
    fuzz::NoteOutcome(3, fuzz::SizeClass(cursor->image.height()));
    fuzz::NoteOutcome(4, static_cast<size_t>(cursor->image.format()));
    FUZZ_CHECK(!cursor->image.isNull(), "an accepted cursor has a picture");
    FUZZ_CHECK(cursor->image.rect().contains(cursor->hotspot), "the hotspot is on the picture");
    const QCursor shape(QPixmap::fromImage(cursor->image), cursor->hotspot.x(),
                        cursor->hotspot.y());
    FUZZ_CHECK(shape.hotSpot() == cursor->hotspot, "the pointer keeps the file's hotspot");
    return 0;
}
