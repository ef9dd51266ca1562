// The real nestora.exe under load: hotkey presses handed to the system in one SendInput
// call, as fast as it delivers them, each making one folder on the desktop with the first
// free name; and the same while another program makes folders of the same names at the
// same time. Nothing may be lost: as many new folders as presses, the names contiguous
// from the first free one, no message box, the program still running.
//
// The desktop starts with the names 1, 2 and 4 of the series taken, so the first press
// must fill the gap (3) before the series goes on.
//
// Counts: 50 presses in every test run, 500 with NESTORA_SOAK=1.
#include "nestora_process.h"
#include "step_watchdog.h"

#include "tests/support/core/folder_series.h"
#include "tests/support/core/round_counts.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/process_windows.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace nestora::reliability {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::SeriesName;

constexpr wchar_t kBase[] = L"Reliability press";
const std::vector<long> kSeeded = {1, 2, 4};

class PressLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        presses = testing::Rounds({50, 500});
        desktop = DesktopFolder();
        ASSERT_FALSE(desktop.empty());
        RemoveSeries(desktop, kBase);
        for (const long k : kSeeded)
            fs::create_directory(fs::path(desktop) / SeriesName(kBase, k));
        StoreSettings({0, kBase, L"Ctrl+`", L"En"});
    }
    void TearDown() override {
        RemoveSeries(desktop, kBase);
        RemoveSettings();
    }

    std::vector<long> Series() const {
        return testing::SeriesNumbers(kBase, DirectoryNames(desktop));
    }
    // Waits until the series has `expected` names, or until it stops growing for a while.
    std::vector<long> WaitForSeries(std::size_t expected) const {
        std::vector<long> numbers = Series();
        auto lastGrowth = std::chrono::steady_clock::now();
        while (numbers.size() < expected && std::chrono::steady_clock::now() - lastGrowth < 20s) {
            testing::PumpFor(100ms);
            std::vector<long> now = Series();
            if (now.size() != numbers.size())
                lastGrowth = std::chrono::steady_clock::now();
            numbers = std::move(now);
        }
        return numbers;
    }
    void Press(int times) {
        std::vector<INPUT> events = testing::PressesOf(testing::kDefaultHotKey, times);
        ASSERT_EQ(testing::SendInputs(events), events.size());
    }

    int presses = 0;
    std::wstring desktop;
};

TEST_F(PressLoadTest, EveryPressAsFastAsSendInputDeliversThemMakesOneFolder) {
    const auto nestora = StartNestora();
    ASSERT_TRUE(nestora);
    StepWatchdog watchdog(nestora->Id());
    // 500 presses take about 35 s; a program that has stopped making folders is dumped
    // before the series wait gives up on it.
    watchdog.Step("presses", 60s + presses * 100ms);
    const auto start = std::chrono::steady_clock::now();
    Press(presses);
    const long last = static_cast<long>(kSeeded.size()) + presses;
    const std::vector<long> numbers = WaitForSeries(static_cast<std::size_t>(last));
    const auto took = std::chrono::steady_clock::now() - start;

    const long made = static_cast<long>(numbers.size() - kSeeded.size());
    const std::vector<long> gaps = testing::GapsUpTo(numbers, last);
    const std::vector<std::wstring> boxes = MessageBoxesOf(*nestora);
    std::printf("[ FIGURES  ] presses alone: %d sent in one SendInput call, %ld folders made, "
                "%zu gaps, highest number %ld, %zu message boxes, %s s (%.0f presses/s)\n",
                presses, made, gaps.size(), numbers.empty() ? 0 : numbers.back(), boxes.size(),
                Seconds(took).c_str(), presses / std::chrono::duration<double>(took).count());
    EXPECT_EQ(made, presses) << "presses lost";
    EXPECT_TRUE(gaps.empty()) << "first gap: " << (gaps.empty() ? 0 : gaps.front());
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.back(), last) << "a name past the first free one";
    EXPECT_TRUE(boxes.empty()) << "a message box: " << boxes.front();
    EXPECT_TRUE(nestora->Running());
    watchdog.Step("close", 10s); // CloseNestora gives up after 15 s
    EXPECT_EQ(CloseNestora(*nestora), 0u);
    watchdog.Done();
}

// Another program making folders of the series: it walks the same names from the first,
// making each one that is free, at about the pace of the presses, while they go on.
class RivalFolderMaker {
public:
    RivalFolderMaker(std::wstring folder, int limit)
        : folder_(std::move(folder)), limit_(limit), thread_([this] { Run(); }) {}
    ~RivalFolderMaker() { Stop(); }
    RivalFolderMaker(const RivalFolderMaker&) = delete;
    RivalFolderMaker& operator=(const RivalFolderMaker&) = delete;

    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    int Made() const { return made_; }
    // Names that were free when it looked and taken when it made them: the moments the
    // two met.
    int Collisions() const { return collisions_; }

private:
    void Run() {
        long k = 1;
        while (!stop_ && made_ < limit_) {
            const std::wstring path = (fs::path(folder_) / SeriesName(kBase, k)).wstring();
            if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
                ++k;
            } else if (::CreateDirectoryW(path.c_str(), nullptr)) {
                ++made_;
                ::Sleep(30); // about the pace of the presses, so the two overlap throughout
            } else if (::GetLastError() == ERROR_ALREADY_EXISTS) {
                ++collisions_;
                ++k;
            } else {
                return; // the folder itself is gone: nothing to race for
            }
        }
    }

    std::wstring folder_;
    int limit_;
    std::atomic<bool> stop_{false};
    std::atomic<int> made_{0};
    std::atomic<int> collisions_{0};
    std::thread thread_;
};

TEST_F(PressLoadTest, PressesRacingAnotherProgramForTheSameNamesAreNotLost) {
    const auto nestora = StartNestora();
    ASSERT_TRUE(nestora);
    StepWatchdog watchdog(nestora->Id());
    watchdog.Step("racing presses", 60s + presses * 150ms);
    const auto start = std::chrono::steady_clock::now();
    RivalFolderMaker rival(desktop, presses);
    Press(presses);
    // Both are done when the series holds the seeded names, every press and every folder
    // the rival made; the rival stops at its limit.
    std::vector<long> numbers;
    auto lastGrowth = std::chrono::steady_clock::now();
    for (;;) {
        testing::PumpFor(100ms);
        std::vector<long> now = Series();
        if (now.size() != numbers.size())
            lastGrowth = std::chrono::steady_clock::now();
        numbers = std::move(now);
        const auto expected = kSeeded.size() + static_cast<std::size_t>(presses + rival.Made());
        if ((numbers.size() >= expected && rival.Made() >= presses) ||
            std::chrono::steady_clock::now() - lastGrowth > 20s)
            break;
    }
    rival.Stop();
    numbers = Series();
    const auto took = std::chrono::steady_clock::now() - start;

    const long total = static_cast<long>(numbers.size());
    const long byNestora = total - static_cast<long>(kSeeded.size()) - rival.Made();
    const std::vector<long> gaps = testing::GapsUpTo(numbers, total);
    const std::vector<std::wstring> boxes = MessageBoxesOf(*nestora);
    std::printf("[ FIGURES  ] presses racing another program: %d sent, %ld folders made by "
                "nestora, %d by the other program (%d names it found taken first), %zu gaps, "
                "%zu message boxes, %s s\n",
                presses, byNestora, rival.Made(), rival.Collisions(), gaps.size(), boxes.size(),
                Seconds(took).c_str());
    EXPECT_EQ(byNestora, presses) << "presses lost";
    EXPECT_TRUE(gaps.empty()) << "first gap: " << (gaps.empty() ? 0 : gaps.front());
    EXPECT_TRUE(boxes.empty()) << "a message box: " << boxes.front();
    EXPECT_TRUE(nestora->Running());
    watchdog.Step("close", 10s);
    EXPECT_EQ(CloseNestora(*nestora), 0u);
    watchdog.Done();
}

} // namespace
} // namespace nestora::reliability
