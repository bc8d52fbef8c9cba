// SPDX-License-Identifier: GPL-3.0-or-later
// Skin file output: BMP pictures, PNG icons and raw files, with a record of every name written.
#include "tools/skingen/skin_writer.h"

#include <QFile>
#include <QString>
#include <cstdio>

#include "skin/skin_files.h"

namespace kestrelon::skingen {

bool SkinWriter::fail(std::string_view name, const std::string& why) {
    std::fprintf(stderr, "kestrelon: cannot write skin file %.*s: %s\n", int(name.size()),
                 name.data(), why.c_str());
    ok_ = false;
    return false;
}

bool SkinWriter::picture(std::string_view name, const QImage& image) {
    const QString path = QString::fromStdString((dir_ / std::string(name)).string());
    // Twenty-four bits per pixel, no alpha: the renderer composes with plain copies and masks.
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        return fail(name, "the BMP writer failed");
    written_.insert(std::string(name));
    return true;
}

bool SkinWriter::bytes(std::string_view name, const QByteArray& data) {
    QFile file(QString::fromStdString((dir_ / std::string(name)).string()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        return fail(name, file.errorString().toStdString());
    written_.insert(std::string(name));
    return true;
}

bool SkinWriter::png(std::string_view name, const QImage& image) {
    const std::filesystem::path path = dir_ / std::string(name);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return fail(name, error.message());
    if (!image.convertToFormat(QImage::Format_ARGB32)
             .save(QString::fromStdString(path.string()), "PNG"))
        return fail(name, "the PNG writer failed");
    written_.insert(std::string(name));
    return true;
}

std::vector<std::string> SkinWriter::missing() const {
    std::vector<std::string> out;
    for (const SkinFile& f : skinFiles())
        if (!written_.count(f.name)) out.push_back(f.name);
    return out;
}

}  // namespace kestrelon::skingen
