// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the skin's files into the output directory and keeps account of what was written, so
// the generator can tell when a file of the skin's list was left out.
#pragma once

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrelon::skingen {

class SkinWriter {
public:
    explicit SkinWriter(std::filesystem::path dir) : dir_(std::move(dir)) {}

    // Saves a 24-bit BMP. False (and one log line) when it cannot be written.
    bool picture(std::string_view name, const QImage& image);
    bool bytes(std::string_view name, const QByteArray& data);
    // Saves a PNG with its alpha channel; `name` may lead through folders, made as needed.
    bool png(std::string_view name, const QImage& image);

    // Names of the skin's files not written (yet), and whether every write so far succeeded.
    std::vector<std::string> missing() const;
    bool ok() const { return ok_; }

private:
    bool fail(std::string_view name, const std::string& why);

    std::filesystem::path dir_;
    std::set<std::string, std::less<>> written_;
    bool ok_ = true;
};

}  // namespace kestrelon::skingen
