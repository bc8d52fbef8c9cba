// SPDX-License-Identifier: GPL-3.0-or-later
// Skin directory check: pictures decode as BMP at their fixed sizes, cursors as cursors, the
// sound has a RIFF/WAVE header.
#include "skin/skin_check.h"

#include <QImageReader>
#include <QString>
#include <fstream>
#include <system_error>

#include "skin/picture_store.h"
#include "skin/skin_files.h"

namespace kestrelon {

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& name) {
    return "skin file \"" + name + "\"";
}

std::string sizeText(int w, int h) {
    return std::to_string(w) + "x" + std::to_string(h);
}

// Empty when the picture is fine, else what is wrong with it.
std::string checkPicture(const fs::path& file, const SkinFile& entry) {
    std::string why;
    const std::optional<QImage> image = decodePicture(file, &why);
    if (!image) return "cannot be decoded as a BMP picture (" + why + ")";
    const bool fixed = entry.size.w > 0 && entry.size.h > 0;
    if (fixed && (image->width() != entry.size.w || image->height() != entry.size.h))
        return "is " + sizeText(image->width(), image->height()) + " pixels, it must be " +
               sizeText(entry.size.w, entry.size.h);
    return {};
}

std::string checkCursor(const fs::path& file) {
    std::error_code error;
    if (fs::file_size(file, error) == 0 || error) return "is empty";
    QImageReader reader(QString::fromStdString(file.string()), "cur");
    reader.setAutoDetectImageFormat(false);
    if (reader.read().isNull())
        return "cannot be decoded as a cursor (" + reader.errorString().toStdString() + ")";
    return {};
}

std::string checkSound(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[12] = {};
    if (!in.read(header, sizeof header)) return "is not a RIFF/WAVE sound (too short)";
    if (std::string_view(header, 4) != "RIFF" || std::string_view(header + 8, 4) != "WAVE")
        return "is not a RIFF/WAVE sound";
    return {};
}

}  // namespace

std::vector<std::string> CheckSkin(const fs::path& dir) {
    std::vector<std::string> problems;
    for (const SkinFile& entry : skinFiles()) {
        const fs::path file = dir / entry.name;
        std::error_code error;
        if (!fs::is_regular_file(file, error)) {
            problems.push_back(quoted(entry.name) + " is missing from " + dir.string());
            continue;
        }
        std::string problem;
        if (entry.picture)
            problem = checkPicture(file, entry);
        else if (file.extension() == ".cur")
            problem = checkCursor(file);
        else if (file.extension() == ".wav")
            problem = checkSound(file);
        else if (fs::file_size(file, error) == 0 || error)
            problem = "is empty";
        if (!problem.empty()) problems.push_back(quoted(entry.name) + " " + problem);
    }
    return problems;
}

}  // namespace kestrelon
