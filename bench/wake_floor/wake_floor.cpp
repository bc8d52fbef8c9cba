// SPDX-License-Identifier: GPL-3.0-or-later
// The floor under any idle program: a process that only sleeps and wakes N times a second
// (default 8), with no event loop, no display and no work. bench/idle.sh measures it beside
// the others, so that what a wake-up itself costs on the machine is seen in the same run.
#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    const long perSecond = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 8;
    if (perSecond <= 0 || perSecond > 1000) return 2;
    const timespec interval{0, 1000000000L / perSecond};
    for (;;) clock_nanosleep(CLOCK_MONOTONIC, 0, &interval, nullptr);
}
