// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl: the command line, and the commands that read the panel and the settings.
#include "app/ctl.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/ctl_command.h"
#include "device/frame_trace.h"
#include "device/simulated_bus.h"
#include "history/day_files.h"
#include "monitor/first_start.h"
#include "monitor/panel_session.h"
#include "monitor/poll_cycle.h"
#include "monitor/readings_text.h"
#include "settings/settings_file.h"
#include "skin/renderer_poll_hooks.h"
#include "skin/skin_check.h"
#include "skin/skin_renderer.h"
#include "skin/window_shape.h"
#include "skin/wing_state.h"

namespace kestrelon {
namespace ctl {

namespace {

std::string hex4(uint16_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << std::setw(4) << std::setfill('0') << v;
    return s.str();
}

}  // namespace

const char* const kUsage =
    "usage: kestrelonctl [--simulated] [--trace] COMMAND\n"
    "  list                              panels found on USB\n"
    "  status [--json]                   temperatures, fan speeds and fan limits\n"
    "  settings [--file PATH] [--json]   the settings as the program loads them\n"
    "  push [--file PATH]                send every setting and the clock to the panel\n"
    "  render OUT.png [--file PATH] [--wings closed|open|ul,ll,ur,lr]\n"
    "                                    the window as it shows after start-up and one poll\n"
    "  set [--file PATH] KEY=VALUE...     change settings: st1-4, fst1-4 (limits), sf1-4, msf1-4,\n"
    "                                    color=off|red|blue|purple, auto=auto|manual, t_unit=C|F,\n"
    "                                    alarm=HH:MM; saved, and only what changed is pushed\n"
    "  watch [--json] [--interval S] [--count N]\n"
    "                                    one line per reading until interrupted\n"
    "  unplug | plug                     pull or put back the plug of a running kestrelon-demo's\n"
    "                                    simulated panel, to see it lost and found again\n"
    "  metrics [--textfile PATH]         the readings in the Prometheus text format; with\n"
    "                                    --textfile written to PATH in one step, for "
    "node_exporter\n"
    "  history [--since 10m|24h|7d] [--csv|--json]\n"
    "                                    the recorded readings: each second of the last hour,\n"
    "                                    each minute before it; absent values shown as -\n"
    "  serve [--file PATH] [--frame-log PATH]\n"
    "                                    own the panel without a window (poll, history, alerts,\n"
    "                                    metrics, control socket) until a termination signal\n"
    "status, set, push, watch, metrics and history go through a running kestrelon when there\n"
    "is one.\n";

std::optional<Options> parse(const std::vector<std::string>& args, std::string& why) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--simulated") {
            o.simulated = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--since") {
            if (i + 1 == args.size()) {
                why = "--since needs a span such as 10m, 24h or 7d";
                return std::nullopt;
            }
            o.since = args[++i];
        } else if (a == "--file") {
            if (i + 1 == args.size()) {
                why = "--file needs a path";
                return std::nullopt;
            }
            o.file = args[++i];
        } else if (a == "--frame-log") {
            if (i + 1 == args.size()) {
                why = "--frame-log needs a path";
                return std::nullopt;
            }
            o.frameLog = args[++i];
        } else if (a == "--textfile") {
            if (i + 1 == args.size()) {
                why = "--textfile needs a path";
                return std::nullopt;
            }
            o.textfile = args[++i];
        } else if (a == "--interval" || a == "--count") {
            const std::string value = i + 1 < args.size() ? args[++i] : "";
            const char* end = value.data() + value.size();
            if (a == "--interval") {
                auto [at, ec] = std::from_chars(value.data(), end, o.interval);
                if (ec != std::errc() || at != end || !(o.interval > 0) || o.interval > 86400) {
                    why = "--interval needs a number of seconds above 0";
                    return std::nullopt;
                }
            } else {
                long count = 0;
                auto [at, ec] = std::from_chars(value.data(), end, count);
                o.count = count;
                if (ec != std::errc() || at != end || count < 1) {
                    why = "--count needs a whole number above 0";
                    return std::nullopt;
                }
            }
        } else if (a == "--help" || a == "-h") {
            o.command = "help";
        } else if (a == "--wings") {
            if (i + 1 == args.size()) {
                why = "--wings needs closed, open or a list of ul, ll, ur, lr";
                return std::nullopt;
            }
            o.wings = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            why = "unknown option " + a;
            return std::nullopt;
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.command.empty()) why = "no command given";
    return o.command.empty() ? std::nullopt : std::optional<Options>(o);
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

int Command::serve() {
    if (!o_.positional.empty() || o_.trace || o_.json) {
        err_ << "kestrelon: serve takes only --simulated, --file and --frame-log\n";
        return 2;
    }
    if (!env_.serve) {
        err_ << "kestrelon: serve is not available here\n";
        return 1;
    }
    const std::string settingsPath = o_.file.value_or(env_.settingsPath);
    if (!settingsReadable(settingsPath, false)) return 1;
    return env_.serve(
        ServeOptions{o_.simulated, o_.frameLog.value_or(""), settingsPath, env_.options,
                     env_.historyDir.empty() ? DefaultHistoryDirectory() : env_.historyDir});
}

int Command::run() {
    if (o_.command == "list") return list();
    if (o_.command == "status") return status();
    if (o_.command == "settings") return settings();
    if (o_.command == "push") return push();
    if (o_.command == "render") return render();
    if (o_.command == "set") return set();
    if (o_.command == "watch") return watch();
    if (o_.command == "metrics") return metrics();
    if (o_.command == "unplug" || o_.command == "plug") return plug();
    if (o_.command == "history") return history();
    if (o_.command == "serve") return serve();
    if (o_.command == "help") {
        out_ << kUsage;
        return 0;
    }
    err_ << "kestrelon: unknown command " << o_.command << "\n" << kUsage;
    return 2;
}

PanelSession::TransportWrapper Command::tracer() {
    if (!o_.trace) return {};
    return [this](std::unique_ptr<Transport> inner) -> std::unique_ptr<Transport> {
        return std::make_unique<TracingTransport>(
            std::move(inner), env_.clock,
            [this](const TraceFrame& f) { out_ << traceLine(f) << "\n"; });
    };
}

int Command::noPanel(const PanelSearch& search) {
    if (search.outcome() == PanelSearch::Outcome::NoPanel) {
        err_ << "kestrelon: no panel found (USB vendor 0x1267, product 0xa102)\n";
    } else {
        for (const auto& e : search.errors) err_ << "kestrelon: cannot open panel " << e << "\n";
    }
    return 1;
}

bool Command::settingsReadable(const std::string& path, bool mustExist) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (!mustExist) return true;  // the program starts from zeros then
        err_ << "kestrelon: cannot read settings file " << path << ": no such file\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec)) {
        err_ << "kestrelon: cannot read settings file " << path << ": "
             << (std::filesystem::is_directory(path, ec) ? "it is a directory"
                                                         : "permission denied")
             << "\n";
        return false;
    }
    return true;
}

bool Command::loadSettings() {
    const std::string path = o_.file.value_or(env_.settingsPath);
    if (!settingsReadable(path, o_.file.has_value())) return false;
    LoadSettings(state_.settings, path);
    return true;
}

int Command::list() {
    int found = 0;
    for (const HidDeviceInfo& d : bus().enumerate()) {
        if (d.vendor_id != kPanelVendorId || d.product_id != kPanelProductId) continue;
        ++found;
        std::string error;
        std::unique_ptr<Transport> t = bus().open(d, error);
        out_ << d.path << "  vendor " << hex4(d.vendor_id) << "  product " << hex4(d.product_id);
        if (t) {
            ReportLengths l = t->reportLengths();
            out_ << "  input " << l.input << "  output " << l.output << "  feature " << l.feature
                 << "\n";
        } else {
            out_ << "  (cannot open: " << error << ")\n";
        }
    }
    if (found == 0) {
        err_ << "kestrelon: no panel found (USB vendor 0x1267, product 0xa102)\n";
        return 1;
    }
    return 0;
}

int Command::status() {
    // A running kestrelon owns the panel: its latest reading is asked for, not the panel.
    if (!o_.simulated && !o_.trace) {
        std::string record, panel;
        switch (askRunning("status", record)) {
            case Asked::Refused:
                return 1;
            case Asked::Answered:
                if (ParseStatusRecord(record, state_, panel)) return printStatus(panel);
                err_ << "kestrelon: the running kestrelon's answer is no status: " << record
                     << "\n";
                return 1;
            case Asked::NotRunning:
                break;
        }
    }
    const std::string path = o_.file.value_or(env_.settingsPath);
    if (settingsReadable(path, false)) LoadSettings(state_.settings, path);  // only for the unit
    PanelSession session(state_, env_.waiter);
    if (session.Open(bus(), tracer()) != PanelSearch::Outcome::Opened)
        return noPanel(session.search());
    readAll(*session.protocol());
    return printStatus(session.search().device.path);
}

int Command::printStatus(const std::string& panel) {
    const std::string unit = state_.settings.fahrenheit() ? "F" : "C";
    if (o_.json) {
        out_ << "{\"panel\": " << jsonString(panel) << ", \"unit\": \"" << unit
             << "\", \"channels\": [";
        for (Channel ch : kAllChannels) {
            out_ << (ch != Channel::Cpu ? ", " : "") << "{\"channel\": " << channelNumber(ch)
                 << ", \"name\": " << jsonString(kChannelNames[channelIndex(ch)])
                 << ", \"temperature\": " << readingText(state_.readings.temperature[ch], "null")
                 << ", \"fan\": " << readingText(state_.readings.fanSpeed[ch], "null")
                 << ", \"fan_limit\": " << state_.readings.fanLimit[ch] << "}";
        }
        out_ << "]}\n";
        return 0;
    }
    out_ << "panel " << panel << "\n";
    // "°" takes two bytes, so this header is spelled out rather than padded.
    out_ << "channel   temp " << (state_.settings.fahrenheit() ? "°F" : "°C")
         << "      fan      fan limit\n";
    for (Channel ch : kAllChannels) {
        out_ << std::left << std::setw(10)
             << (std::to_string(channelNumber(ch)) + " " + kChannelNames[channelIndex(ch)])
             << std::setw(13) << readingText(state_.readings.temperature[ch], "absent")
             << std::setw(9) << readingText(state_.readings.fanSpeed[ch], "absent")
             << state_.readings.fanLimit[ch] << "\n";
    }
    return 0;
}

std::string Command::readingText(const Reading& reading, const std::string& absent) {
    return reading ? std::to_string(*reading) : absent;
}

int Command::settings() {
    if (!loadSettings()) return 1;
    auto entries = SettingsEntries(state_.settings);
    if (!o_.json) {
        for (const auto& [key, value] : entries) out_ << key << "=" << value << "\n";
        return 0;
    }
    out_ << "{";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [key, value] = entries[i];
        out_ << (i ? ", " : "") << jsonString(key) << ": "
             << (key == "alarm" ? jsonString(value) : value);
    }
    out_ << "}\n";
    return 0;
}

int Command::push() {
    if (!o_.file) {
        std::string rest;
        switch (askRunning("push", rest, "the running kestrelon could not push: ")) {
            case Asked::Refused:
                return 1;
            case Asked::Answered:
                out_ << "pushed the settings and the clock through the running kestrelon\n";
                return 0;
            case Asked::NotRunning:
                break;
        }
    }
    const std::string path = o_.file.value_or(env_.settingsPath);
    if (IsFirstStart(path)) {
        err_ << "kestrelon: no settings file at " << path << "; nothing pushed\n";
        return 1;
    }
    if (!loadSettings()) return 1;
    // The clock record carries the time of day; the push sets the panel's clock with it.
    state_.poll.shownMinute = env_.clock.timeOfDay().substr(0, 5);
    PanelSession session(state_, env_.waiter);
    // Fan values of 0 (saved before any panel was seen) take the panel's limits, as at start-up.
    const auto beforePush = [&] {
        if (session.protocol()) PrepareSettingsForPanel(state_, *session.protocol(), path);
    };
    if (session.Start(bus(), tracer(), beforePush) != PanelSearch::Outcome::Opened)
        return noPanel(session.search());
    if (!session.lastPush().ok()) {
        err_ << "kestrelon: " << session.lastPush().text() << "\n";
        return 1;
    }
    out_ << "pushed the settings and the clock to " << session.search().device.path << "\n";
    return 0;
}

}  // namespace ctl

int RunCtl(const std::vector<std::string>& args, CtlEnvironment& env, std::ostream& out,
           std::ostream& err) {
    std::string why;
    std::optional<ctl::Options> o = ctl::parse(args, why);
    if (!o) {
        err << "kestrelon: " << why << "\n" << ctl::kUsage;
        return 2;
    }
    return ctl::Command(*o, env, out, err).run();
}

}  // namespace kestrelon
