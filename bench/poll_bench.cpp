// SPDX-License-Identifier: GPL-3.0-or-later
// One poll cycle's own work: waits are virtual and the redraw hooks draw nothing, so what is
// measured is the cycle, the framing and the decoding. The simulated-panel variant also counts
// the panel's side of each exchange (what kestrelon-demo does once a second); the no-panel one
// is kestrelon's tick while no panel is attached.
#include <benchmark/benchmark.h>

#include <array>

#include "monitor/poll_cycle.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "device/simulated_panel.h"
#include "tests/support/fakes.h"

namespace kestrelon {
namespace {

void pollCycle(benchmark::State& bench, bool autoScan) {
    VirtualTime time;
    MonitorState state;
    state.panel.present = true;
    state.poll.lcdScanning = autoScan;
    test::ScriptedTransport panel;
    std::array<std::vector<uint8_t>, 256> answers;
    answers[0x14] = test::words(0x14, 45, 38);
    answers[0x15] = test::words(0x15, 51, 255);
    answers[0x18] = test::words(0x18, 1450, 1180);
    answers[0x19] = test::words(0x19, 1020, 1900);
    answers[0x1D] = test::words(0x1D, 2450, 2000);
    answers[0x1E] = test::words(0x1E, 1600, 3000);
    answers[0x1C] = test::reply(0x1C, {0, 0, 0});
    panel.answer = [&](uint8_t reg) { return answers[reg]; };
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);
    NoPollHooks hooks;
    PollCycle cycle(state, time, hooks);
    cycle.attachPanel(&link, &protocol);
    for (auto _ : bench) {
        time.advance(1.0);
        benchmark::DoNotOptimize(cycle.onPollTick());
        panel.written.clear();
    }
}

void BM_PollCycle_Scanning(benchmark::State& s) {
    pollCycle(s, true);
}
void BM_PollCycle_StatusResend(benchmark::State& s) {
    pollCycle(s, false);
}
BENCHMARK(BM_PollCycle_Scanning);
BENCHMARK(BM_PollCycle_StatusResend);

void pollSimulatedPanel(benchmark::State& bench, bool autoScan) {
    VirtualTime time;
    MonitorState state;
    state.panel.present = true;
    state.poll.lcdScanning = autoScan;
    SimulatedPanel panel(time);  // as in kestrelon-demo: default options
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);
    NoPollHooks hooks;
    PollCycle cycle(state, time, hooks);
    cycle.attachPanel(&link, &protocol);
    for (auto _ : bench) {
        time.advance(1.0);
        benchmark::DoNotOptimize(cycle.onPollTick());
    }
}

// As the programs start (the LCD on one sensor): the status register is re-sent every tick.
void BM_PollCycle_SimulatedPanel_StatusResend(benchmark::State& s) {
    pollSimulatedPanel(s, false);
}
void BM_PollCycle_SimulatedPanel_Scanning(benchmark::State& s) {
    pollSimulatedPanel(s, true);
}
BENCHMARK(BM_PollCycle_SimulatedPanel_StatusResend);
BENCHMARK(BM_PollCycle_SimulatedPanel_Scanning);

void BM_PollCycle_NoPanel(benchmark::State& bench) {
    VirtualTime time;
    MonitorState state;
    state.poll.lcdScanning = true;
    NoPollHooks hooks;
    PollCycle cycle(state, time, hooks);
    for (auto _ : bench) {
        time.advance(1.0);
        benchmark::DoNotOptimize(cycle.onPollTick());
    }
}
BENCHMARK(BM_PollCycle_NoPanel);

}  // namespace
}  // namespace kestrelon
