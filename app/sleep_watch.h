// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a sleep, as logind announces it on the system bus (PrepareForSleep(false)). Without
// a system bus nothing is watched and nothing changes.
#pragma once

#include <QObject>
#include <functional>

namespace kestrelon {

class SleepWatch final : public QObject {
    Q_OBJECT

public:
    explicit SleepWatch(std::function<void()> woke);
    // Whether the signal is being watched (a system bus answered).
    bool watching() const { return watching_; }

private slots:
    void prepareForSleep(bool sleeping);

private:
    std::function<void()> woke_;
    bool watching_ = false;
};

}  // namespace kestrelon
