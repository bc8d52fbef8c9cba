// One poll cycle's own work: waits are virtual and the redraw hooks draw nothing, so what is
// measured is the cycle, the framing and the decoding.
#include <benchmark/benchmark.h>

#include "app/poll_cycle.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "tests/support/scripted_panel.h"

namespace kestrelon {
namespace {

void pollCycle(benchmark::State& bench, bool autoScan) {
    VirtualTime time;
    MonitorState state;
    state.DeviceDetected = true;
    state.auto_scan = autoScan;
    test::ScriptedPanel panel(time);
    panel.answerWords(0x14, 45, 38);
    panel.answerWords(0x15, 51, 255);
    panel.answerWords(0x18, 1450, 1180);
    panel.answerWords(0x19, 1020, 1900);
    panel.answerWords(0x1D, 2450, 2000);
    panel.answerWords(0x1E, 1600, 3000);
    panel.answer(0x1C, {0x1C, 0, 0, 0});
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);
    NoPollHooks hooks;
    PollCycle cycle(state, time, hooks);
    cycle.attachPanel(&link, &protocol);
    for (auto _ : bench) {
        time.advance(1.0);
        benchmark::DoNotOptimize(cycle.Timer1_Timer());
        panel.sent.clear();
    }
}

void BM_PollCycle_Scanning(benchmark::State& s) { pollCycle(s, true); }
void BM_PollCycle_StatusResend(benchmark::State& s) { pollCycle(s, false); }
BENCHMARK(BM_PollCycle_Scanning);
BENCHMARK(BM_PollCycle_StatusResend);

}  // namespace
}  // namespace kestrelon
