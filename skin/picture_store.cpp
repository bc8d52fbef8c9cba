// SPDX-License-Identifier: GPL-3.0-or-later
// Skin picture loading with a cache that follows the files on disk.
#include "skin/picture_store.h"

#include <QImageReader>
#include <QString>
#include <system_error>

#include "core/log.h"
#include "skin/raster.h"

namespace kestrelon {

namespace fs = std::filesystem;

std::optional<QImage> decodePicture(const fs::path& file, std::string* why) {
    QImageReader reader(QString::fromStdString(file.string()), "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull()) {
        if (why) *why = reader.errorString().toStdString();
        return std::nullopt;
    }
    return asRgb32(image);
}

PictureStore::PictureStore(fs::path dir) : dir_(std::move(dir)) {}

std::optional<QImage> PictureStore::load(std::string_view name) {
    const std::string key(name);
    const fs::path file = dir_ / key;
    std::error_code sizeError, timeError;
    const std::uintmax_t size = fs::file_size(file, sizeError);
    const fs::file_time_type modified = fs::last_write_time(file, timeError);
    if (sizeError || timeError) {
        cache_.erase(key);
        report(key, "the file is missing or unreadable (" + file.string() + ")");
        return std::nullopt;
    }
    if (auto hit = cache_.find(key);
        hit != cache_.end() && hit->second.size == size && hit->second.modified == modified)
        return hit->second.image;

    std::string why;
    std::optional<QImage> image = decodePicture(file, &why);
    if (!image) {
        cache_.erase(key);
        report(key, "not a readable BMP picture (" + why + ")");
        return std::nullopt;
    }
    reported_.erase(key);
    cache_[key] = Entry{size, modified, *image};
    return image;
}

void PictureStore::report(const std::string& name, const std::string& why) {
    if (!reported_.insert(name).second) return;
    LogLine("cannot draw " + name + ": " + why);
}

}  // namespace kestrelon
