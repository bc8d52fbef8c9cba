// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl: wires the real USB bus, clock, wait and the running program's control socket
// into the command-line tool.
#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>

#include "app/ctl.h"
#include "app/local_control.h"
#include "app/skin_dir.h"
#include "device/hidapi_bus.h"
#include "host/host_facts.h"
#include "settings/options_file.h"
#include "settings/settings_path.h"

namespace {

int argcKept;  // QCoreApplication keeps a reference to it

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrelon;
    std::vector<std::string> args(argv + 1, argv + argc);
    HidapiBus bus;
    SystemClock clock;
    SleepWaiter waiter;
    const QString socket = ControlSocketPath();
    CtlEnvironment env{
        bus,
        clock,
        waiter,
        DefaultSettingsPath(),
        SkinDirectory(argv[0]),
        [&socket](const std::string& request) { return LocalControl::Ask(socket, request); },
        [](MonitorState& state) {
            const HostFactReader facts;
            if (auto v = facts.cpuMhz()) state.host.processorMhz = *v;
            if (auto v = facts.totalRamMb()) state.host.memoryMb = *v;
            if (auto v = facts.systemDriveGb()) state.host.diskGb = *v;
        },
        {},  // the default history directory
        {},  // the system's UTC clock
        LoadOptions(DefaultOptionsPath()),
        [argv](const ServeOptions& options) {
            argcKept = 1;
            QCoreApplication app(argcKept, argv);
            return RunServe(options);
        }};
    return RunCtl(args, env, std::cout, std::cerr);
}
