// SPDX-License-Identifier: GPL-3.0-or-later
// A pointer file of the skin (.cur): its picture and the hotspot it names.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <filesystem>
#include <optional>

namespace kestrelon {

struct CursorPicture {
    QImage image;
    QPoint hotspot;  // inside the picture
};

// Decodes a cursor file's bytes: the first entry's picture and hotspot. Nothing for bytes that
// are not a cursor file, or whose hotspot lies outside the picture.
std::optional<CursorPicture> DecodeCursor(const QByteArray& bytes);
std::optional<CursorPicture> LoadCursorFile(const std::filesystem::path& path);

}  // namespace kestrelon
