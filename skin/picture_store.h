// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the skin's BMP pictures from the skin directory as 32-bit RGB images. Pictures are cached
// by path, size and modification time, so a file replaced on disk is read again at its next use.
#pragma once

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrelon {

// Decodes a BMP file; on failure returns nothing and, when `why` is given, says why.
std::optional<QImage> decodePicture(const std::filesystem::path& file, std::string* why = nullptr);

class PictureStore {
public:
    explicit PictureStore(std::filesystem::path dir);

    const std::filesystem::path& dir() const { return dir_; }

    // The picture of the skin file `name`, or nothing when the file is missing or unreadable.
    // A failing file is logged once ("kestrelon: cannot draw NAME: ...") until it loads again.
    std::optional<QImage> load(std::string_view name);

    std::size_t cachedPictures() const { return cache_.size(); }
    // Forgets every decoded picture; each is read again at its next use.
    void forget() { cache_.clear(); }

private:
    struct Entry {
        std::uintmax_t size;
        std::filesystem::file_time_type modified;
        QImage image;
    };
    void report(const std::string& name, const std::string& why);

    std::filesystem::path dir_;
    std::unordered_map<std::string, Entry> cache_;
    std::set<std::string> reported_;
};

}  // namespace kestrelon
