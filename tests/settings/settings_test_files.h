// SPDX-License-Identifier: GPL-3.0-or-later
// Scratch files for the settings tests: a private temporary directory and whole-file byte I/O.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kestrelon::testing_files {

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A temporary directory removed with everything in it at the end of the test.
class ScratchDir {
  public:
    ScratchDir() { EXPECT_TRUE(dir_.isValid()); }
    std::filesystem::path path() const { return dir_.path().toStdString(); }
    std::filesystem::path operator/(std::string_view name) const { return path() / name; }

  private:
    QTemporaryDir dir_;
};

}  // namespace kestrelon::testing_files
