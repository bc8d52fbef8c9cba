// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of kestrelonctl: the options of one command line and the object that runs it,
// shared by the files that implement the commands.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/ctl.h"
#include "core/monitor_state.h"
#include "core/poll_hooks.h"
#include "device/simulated_bus.h"
#include "monitor/panel_session.h"

namespace kestrelon {

class SkinRenderer;

namespace ctl {

inline constexpr std::array<const char*, 4> kChannelNames{"CPU", "HDD", "VGA", "case"};

struct Options {
    bool simulated = false;
    bool trace = false;
    bool json = false;
    std::string command;
    std::optional<std::string> file;
    std::optional<std::string> wings;
    std::optional<std::string> textfile;  // metrics: write here instead of printing
    double interval = 1.0;                // watch: seconds between readings
    std::optional<long> count;            // watch: readings before it ends; none: until interrupted
    std::optional<std::string> since;     // history: how far back, "10m", "24h", "7d"
    bool csv = false;
    std::optional<std::string> frameLog;  // serve: every frame and reply written here
    std::vector<std::string> positional;
};

// Parses the command line; on a mistake returns nothing and says why in `why`.
std::optional<Options> parse(const std::vector<std::string>& args, std::string& why);
// Text as a JSON string, quotes included.
std::string jsonString(const std::string& text);
extern const char* const kUsage;

// Everything one command needs: the bus it looks on, the state, the panel session.
class Command {
public:
    Command(const Options& o, CtlEnvironment& env, std::ostream& out, std::ostream& err)
        : o_(o), env_(env), out_(out), err_(err) {
        if (o.simulated)
            simulated_ = std::make_unique<SimulatedBus>(env.clock, UnrecordedPanelOptions());
    }

    int run();

private:
    HidBus& bus() { return simulated_ ? static_cast<HidBus&>(*simulated_) : env_.bus; }
    PanelSession::TransportWrapper tracer();
    int noPanel(const PanelSearch& search);
    bool settingsReadable(const std::string& path, bool mustExist);
    bool loadSettings();
    int list();
    int status();
    // Prints what state_ holds of the panel at `panel`, as text or JSON.
    int printStatus(const std::string& panel);
    static std::string readingText(const Reading& reading, const std::string& absent);
    int settings();
    int push();
    static std::optional<std::array<bool, 4>> openWings(const std::string& text);
    int render();
    PollHooks& hooksFor(SkinRenderer& renderer);
    int set();
    int watch();
    int metrics();
    // unplug, plug: the simulated panel of a running kestrelon-demo.
    int plug();
    int history();
    int serve();
    // What a running kestrelon made of a request.
    enum class Asked { NotRunning, Refused, Answered };
    // Hands `request` to a running kestrelon. Answered: `text` is what follows its "ok".
    // Refused: its "error ..." line has been said on stderr, after `context`. NotRunning: none
    // runs (or it ended).
    Asked askRunning(const std::string& request, std::string& text,
                     const std::string& context = "");
    // Reads temperatures, fans and fan limits from the open panel.
    void readAll(PanelProtocol& panel);

    const Options& o_;
    CtlEnvironment& env_;
    std::unique_ptr<PollHooks> hooks_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<SimulatedBus> simulated_;
    MonitorState state_;
};

}  // namespace ctl
}  // namespace kestrelon
