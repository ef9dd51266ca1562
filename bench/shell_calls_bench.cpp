// Late-bound calls per hotkey press, the old design's way against ours, with N open folder
// windows (the focused one in the middle of the collection), counted by the stand-in shell
// object. Ours must stay within 2N + 4 calls; both must send the folder to the same window.
#include "bench/bench_stats.h"
#include "bench/naive_press.h"
#include "bench/press_stand_ins.h"

#include "app/win_shell_automation.h"

#include "tests/support/win/stand_in_shell.h"

#include <cstdio>
#include <string>

namespace {

using namespace nestora;
using testing::AutomationCalls;
using testing::ShellWindow;

struct Counted {
    AutomationCalls calls;
    std::size_t folders = 0;
    int desktop = 0;
};

Counted CountNaive(const std::vector<ShellWindow>& windows, std::uintptr_t focused) {
    auto calls = std::make_shared<AutomationCalls>();
    const auto shell = testing::MakeStandInShell(calls, windows);
    const bench::NaivePressResult result =
        bench::NaivePress(*shell.Get(), reinterpret_cast<HWND>(focused), 0, nullptr);
    return {*calls, result.folderLocations.size(), result.desktopFolders};
}

Counted CountOurs(const std::vector<ShellWindow>& windows, std::uintptr_t focused) {
    auto calls = std::make_shared<AutomationCalls>();
    const auto shell = app::ShellAutomationOver(testing::MakeStandInShell(calls, windows));
    bench::FocusOn focus(focused);
    bench::RecordedTargets targets;
    app::HandleHotKeyPress(shell.get(), focus, targets);
    return {*calls, targets.folders.size(), targets.desktop};
}

} // namespace

int main() {
    bool allMet = true;
    bench::Table counts({"shell windows N", "old way: calls", "old way: name look-ups",
                         "ours: calls", "ours: name look-ups", "bound 2N+4", "met"});
    bench::Table times({"shell windows N", "old way: us/press", "ours: us/press", "old / ours"});
    for (const int n : {1, 10, 50}) {
        const auto windows = testing::MadeUpWindows(n);
        const std::uintptr_t focused = windows[static_cast<std::size_t>(n / 2)].frame;
        const Counted naive = CountNaive(windows, focused);
        const Counted ours = CountOurs(windows, focused);
        const long bound = 2L * n + 4;
        const bool sameOutcome =
            naive.folders == 1 && ours.folders == 1 && naive.desktop == ours.desktop;
        const bool met = ours.calls.Invokes() <= bound && sameOutcome;
        allMet = allMet && met;
        counts.AddRow({std::to_string(n), std::to_string(naive.calls.Invokes()),
                       std::to_string(naive.calls.nameLookups),
                       std::to_string(ours.calls.Invokes()), std::to_string(ours.calls.nameLookups),
                       std::to_string(bound),
                       met ? "yes" : (sameOutcome ? "NO" : "NO (outcomes differ)")});

        const auto samples = bench::TimeInTurns(
            201, {[&] { CountNaive(windows, focused); }, [&] { CountOurs(windows, focused); }});
        const auto medians = bench::MediansOf(samples);
        times.AddRow({std::to_string(n), bench::Fixed(medians[0], 1), bench::Fixed(medians[1], 1),
                      bench::Fixed(bench::Ratio(medians[0], medians[1]), 2)});
    }
    std::printf("Late-bound calls per press (stand-in shell object, focused window in the "
                "middle)\n\n%s\n",
                counts.Render().c_str());
    std::printf("Time per press against the in-process stand-in (median of 201 runs in turns)\n\n"
                "%s\n",
                times.Render().c_str());
    return allMet ? 0 : 1;
}
