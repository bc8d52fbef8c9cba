// SPDX-License-Identifier: GPL-3.0-or-later
// Appending to and reading the day files.
#include "history/day_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/log.h"
#include "history/history_csv.h"
#include "history/utc_time.h"

namespace kestrelon {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSuffix = ".csv";
constexpr std::size_t kTailBytes = 8192;  // enough for the last rows of a file

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

// The whole file, or its last `tail` bytes; nothing when it cannot be read.
std::optional<std::string> readFile(const std::string& path, std::size_t tail = 0) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    if (tail > 0) {
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        in.seekg(std::max<std::streamoff>(0, size - static_cast<std::streamoff>(tail)));
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes all of `text` to `fd`; false with errno set when it cannot.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string DefaultHistoryDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const fs::path base = state != nullptr && fs::path(state).is_absolute()
                              ? fs::path(state)
                              : fs::path(homeDirectory()) / ".local" / "state";
    return (base / "kestrelon" / "history").string();
}

DayFileStore::DayFileStore(std::string directory, int keepDays)
    : dir_(std::move(directory)), keepDays_(std::max(1, keepDays)) {
    // The newest file holding a row tells where writing goes on.
    std::vector<int64_t> present = days();
    for (auto day = present.rbegin(); day != present.rend() && !lastWritten_; ++day) {
        const std::optional<std::string> tail = readFile(pathOf(*day), kTailBytes);
        if (!tail) continue;
        std::string_view text = *tail;
        if (tail->size() == kTailBytes)
            text.remove_prefix(std::min(text.size(), text.find('\n') + 1));
        const HistoryRows rows = ReadCsvText(text, INT64_MIN, INT64_MAX).rows;
        if (!rows.empty()) lastWritten_ = rows.back().utcSeconds;
    }
}

std::string DayFileStore::pathOf(int64_t utc) const {
    return (fs::path(dir_) / (dayName(utc) + std::string(kSuffix))).string();
}

std::vector<int64_t> DayFileStore::days() const {
    std::vector<int64_t> out;
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != 10 + kSuffix.size() || !name.ends_with(kSuffix)) continue;
        if (const auto day = parseDayName(std::string_view(name).substr(0, 10)))
            out.push_back(*day);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void DayFileStore::pause(const std::string& why) {
    if (!paused_)
        LogLine("history recording paused: " + why + "; it resumes when the file can be written");
    paused_ = true;
}

DayFileStore::Outcome DayFileStore::append(const HistoryRow& row) {
    if (lastWritten_ && row.utcSeconds <= *lastWritten_) {
        if (!behindTold_)
            LogLine("history: the clock is at or before the last minute written (" +
                    isoUtc(*lastWritten_) + "); nothing is written until it is past it");
        behindTold_ = true;
        return Outcome::NotAfterLast;
    }
    std::error_code ec;
    fs::create_directories(dir_, ec);
    if (ec) {
        pause("cannot make " + dir_ + ": " + ec.message());
        return Outcome::Paused;
    }
    const std::string path = pathOf(row.utcSeconds);
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        pause("cannot open " + path + ": " + std::strerror(errno));
        return Outcome::Paused;
    }
    // A new (or removed and so new) file starts with the header; a line torn by an earlier
    // failure is ended first, so that it stays one unreadable line on its own.
    std::string text;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size == 0) {
        text = CsvHeader() + "\n";
    } else if (S_ISREG(st.st_mode)) {
        char lastByte = '\n';
        if (::pread(fd, &lastByte, 1, st.st_size - 1) == 1 && lastByte != '\n') text = "\n";
    }
    text += FormatCsvRow(row) + "\n";
    const bool written = writeAll(fd, text);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        pause("cannot write " + path + ": " + std::strerror(written ? errno : writeError));
        return Outcome::Paused;
    }
    if (paused_) LogLine("history recording resumed in " + path);
    paused_ = false;
    behindTold_ = false;
    lastWritten_ = row.utcSeconds;
    return Outcome::Written;
}

HistoryRows DayFileStore::read(int64_t fromUtc, int64_t toUtc) const {
    HistoryRows out;
    if (toUtc < fromUtc) return out;
    for (const int64_t day : days()) {
        if (day + kSecondsPerDay <= fromUtc || day > toUtc) continue;
        const std::string path = pathOf(day);
        const std::optional<std::string> text = readFile(path);
        if (!text) continue;
        const CsvReadResult r = ReadCsvText(*text, fromUtc, toUtc);
        if (r.skippedLines > 0)
            LogLine("history file " + path + ": skipped " + std::to_string(r.skippedLines) +
                    " unreadable line(s), the first at line " + std::to_string(r.firstSkippedLine));
        // Only the file's own day: so the rows of the files in date order are in time order.
        for (const HistoryRow& row : r.rows)
            if (row.utcSeconds >= day && row.utcSeconds < day + kSecondsPerDay &&
                (out.empty() || row.utcSeconds > out.back().utcSeconds))
                out.push_back(row);
    }
    return out;
}

void DayFileStore::removeOld(int64_t utc) const {
    const int64_t oldestKept = dayStart(utc) - static_cast<int64_t>(keepDays_ - 1) * kSecondsPerDay;
    for (const int64_t day : days()) {
        if (day >= oldestKept) break;
        std::error_code ec;
        if (!fs::remove(pathOf(day), ec) && ec)
            LogLine("history: cannot remove the old file " + pathOf(day) + ": " + ec.message());
    }
}

}  // namespace kestrelon
