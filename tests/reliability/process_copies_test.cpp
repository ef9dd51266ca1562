// Copies of the real nestora.exe started at the same moment: two to eight copies made
// suspended and let go together, round after round. On every round exactly one copy runs
// on; each other copy says "Application "Nestora" is already running." in a message box,
// and once it is closed ends with exit code 0. Every few rounds start with no settings at
// all, so that the copies also race each other to write the first settings; after each
// round the four settings are all there, each of its own type.
//
// Counts: 7 rounds in every test run (each number of copies from 2 to 8 once), 50 with
// NESTORA_SOAK=1.
#include "nestora_process.h"

#include "tests/support/core/round_counts.h"
#include "tests/support/win/process_windows.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

namespace nestora::reliability {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;

constexpr wchar_t kAlreadyRunning[] = L"Application \"Nestora\" is already running.";

struct RoundResult {
    int copies = 0;
    int running = 0;                      // copies still running once the others have ended
    int toldAlreadyRunning = 0;           // copies that showed the guard's message
    int endedWithZero = 0;                // of the others, those that ended with exit code 0
    std::vector<std::wstring> otherBoxes; // any other message box, by its text
    std::vector<DWORD> otherExitCodes;
    bool winnerUp = false; // the one left has its window, its tray window and no box
    std::chrono::steady_clock::duration took{};
};

// Lets `copies` copies go at the same moment and sees the round through: every message box
// read and closed, every copy but one ended, the one left checked and closed.
RoundResult RunRound(int copies) {
    RoundResult result;
    result.copies = copies;
    std::vector<ChildProcess> processes;
    processes.reserve(static_cast<std::size_t>(copies));
    for (int i = 0; i < copies; ++i)
        processes.emplace_back(NestoraExe(), testing::StartOptions{L"", true});
    const auto start = std::chrono::steady_clock::now();
    for (ChildProcess& process : processes)
        process.Resume();

    std::vector<bool> told(processes.size(), false);
    const auto ended = [&] {
        return std::count_if(processes.begin(), processes.end(),
                             [](const ChildProcess& p) { return !p.Running(); });
    };
    // Until all but one have ended (or the time is up): close each box as it comes.
    testing::WaitFor(
        [&] {
            for (std::size_t i = 0; i < processes.size(); ++i) {
                for (const HWND box :
                     testing::ProcessWindows({processes[i].Id(), testing::kMessageBoxClass})) {
                    const std::wstring text = testing::MessageBoxText(box);
                    if (text.empty())
                        continue; // still being made
                    if (text == kAlreadyRunning && !told[i]) {
                        told[i] = true;
                        ++result.toldAlreadyRunning;
                    } else if (text != kAlreadyRunning) {
                        result.otherBoxes.push_back(text);
                    }
                    testing::PressOk(box);
                }
            }
            return ended() >= copies - 1;
        },
        60s);
    // A straggler would show itself now: a second copy left running, or a late box.
    testing::PumpFor(300ms);
    result.took = std::chrono::steady_clock::now() - start;

    for (std::size_t i = 0; i < processes.size(); ++i) {
        ChildProcess& process = processes[i];
        if (process.Running()) {
            ++result.running;
            const bool alone = MessageBoxesOf(process).empty();
            result.winnerUp = !told[i] && alone && process.Window(kMainWindowClass) &&
                              process.Window(kTrayWindowClass) &&
                              !::IsWindowVisible(process.Window(kMainWindowClass));
            continue;
        }
        const std::optional<DWORD> code = process.ExitCode(0ms);
        if (told[i] && code == 0u)
            ++result.endedWithZero;
        else
            result.otherExitCodes.push_back(code.value_or(0xFFFFFFFF));
    }
    for (ChildProcess& process : processes) {
        if (process.Running()) {
            DismissMessageBoxes(process);
            if (const auto code = CloseNestora(process); code != 0u)
                result.otherExitCodes.push_back(code.value_or(0xFFFFFFFF));
        }
    }
    return result;
}

TEST(CopiesTest, OfCopiesStartedAtTheSameMomentExactlyOneRunsAndTheOthersEndWithZero) {
    const int rounds = testing::Rounds({7, 50});
    // Each number of copies from 2 to 8 in turn, in an order shuffled with a fixed seed.
    std::vector<int> counts;
    for (int i = 0; i < rounds; ++i)
        counts.push_back(2 + i % 7);
    std::shuffle(counts.begin(), counts.end(), std::mt19937(20041));

    struct Tally {
        int rounds = 0;
        int exactlyOne = 0;
        int othersToldAndZero = 0;
        int others = 0;
        double slowest = 0;
    };
    std::map<int, Tally> tallies;
    int firstStarts = 0;
    int incompleteSettings = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool firstStart = round % 5 == 0;
        if (firstStart) {
            RemoveSettings();
            ++firstStarts;
        } else {
            StoreSettings({0, L"Copies", L"Ctrl+`", round % 2 ? L"En" : L"Ru"});
        }
        const RoundResult r = RunRound(counts[static_cast<std::size_t>(round)]);
        Tally& tally = tallies[r.copies];
        ++tally.rounds;
        tally.exactlyOne += r.running == 1 && r.winnerUp ? 1 : 0;
        tally.othersToldAndZero += r.endedWithZero;
        tally.others += r.copies - 1;
        tally.slowest = std::max(tally.slowest, std::chrono::duration<double>(r.took).count());

        EXPECT_EQ(r.running, 1) << "round " << round << ", " << r.copies << " copies";
        EXPECT_TRUE(r.winnerUp) << "round " << round << ": the copy left is not up alone";
        EXPECT_EQ(r.toldAlreadyRunning, r.copies - 1) << "round " << round;
        EXPECT_EQ(r.endedWithZero, r.copies - 1) << "round " << round;
        EXPECT_TRUE(r.otherBoxes.empty()) << "round " << round << ": " << r.otherBoxes.front();
        EXPECT_TRUE(r.otherExitCodes.empty())
            << "round " << round << ": exit code " << r.otherExitCodes.front();

        // Whatever the copies wrote, each of the four settings is there, of its own type.
        const StoredSettings stored = ReadStoredSettings();
        const bool complete = stored.startUp && stored.folderName && stored.hotKey && stored.lang &&
                              stored.wrongTypes.empty();
        incompleteSettings += complete ? 0 : 1;
        EXPECT_TRUE(complete) << "round " << round << (firstStart ? " (first start)" : "");
        if (firstStart && complete) {
            EXPECT_EQ(*stored.folderName, L"Новая папка");
            // "Ctrl+" and the keyboard layout's name of the key left of 1.
            EXPECT_TRUE(stored.hotKey->starts_with(L"Ctrl+") && stored.hotKey->size() > 5);
            EXPECT_EQ(*stored.lang, L"Ru");
        }
    }
    RemoveSettings();
    RemoveRunEntry();

    std::printf("[ FIGURES  ] copies: %d rounds (%d of them with no settings yet), settings "
                "incomplete after %d\n",
                rounds, firstStarts, incompleteSettings);
    for (const auto& [copies, t] : tallies)
        std::printf("[ FIGURES  ]   %d copies: %d rounds, exactly one running in %d; %d of %d "
                    "others told and ended with 0; slowest round %.1f s\n",
                    copies, t.rounds, t.exactlyOne, t.othersToldAndZero, t.others, t.slowest);
}

} // namespace
} // namespace nestora::reliability
