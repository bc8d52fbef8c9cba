// SPDX-License-Identifier: GPL-3.0-or-later
// A heartbeat on the window's thread for measuring how long that thread stalls: enabled by
// KESTRELON_STALL_LOG=PATH, it appends each late beat's gap to PATH, one line per gap.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <fstream>
#include <memory>
#include <string>

namespace kestrelon {

class StallWatch {
public:
    // A watch writing to the file KESTRELON_STALL_LOG names; none when it is unset or empty.
    static std::unique_ptr<StallWatch> FromEnvironment();

    explicit StallWatch(const std::string& path);
    StallWatch(const StallWatch&) = delete;
    StallWatch& operator=(const StallWatch&) = delete;

private:
    void beat();

    std::ofstream out_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastBeatMs_ = 0;
};

}  // namespace kestrelon
