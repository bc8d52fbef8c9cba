// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor files: a directory of type 2 whose entries carry the hotspot where icons carry colours.
#include "skin/cursor_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace kestrelon {

namespace {

constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;
constexpr uint16_t kCursorType = 2;
constexpr qint64 kLargestCursorFile = 1 << 20;

uint16_t u16(const QByteArray& bytes, int at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

}  // namespace

std::optional<CursorPicture> DecodeCursor(const QByteArray& bytes) {
    if (bytes.size() < kHeaderSize + kEntrySize) return std::nullopt;
    if (u16(bytes, 0) != 0 || u16(bytes, 2) != kCursorType || u16(bytes, 4) == 0)
        return std::nullopt;
    const QPoint hotspot(u16(bytes, kHeaderSize + 4), u16(bytes, kHeaderSize + 6));
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    QImage image = reader.read();
    if (image.isNull() || !image.rect().contains(hotspot)) return std::nullopt;
    return CursorPicture{std::move(image), hotspot};
}

std::optional<CursorPicture> LoadCursorFile(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestCursorFile) return std::nullopt;
    return DecodeCursor(file.readAll());
}

}  // namespace kestrelon
