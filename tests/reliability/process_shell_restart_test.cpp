// The shell restarting under the real nestora.exe: the test plays the notification area
// (a stand-in tray window that Shell_NotifyIconW reaches first), then restarts it as
// Explorer does: the tray comes back empty and "TaskbarCreated" is broadcast. The icon
// must come back, once, with its tip.
//
// The window's rule here is the tray icon's: on "TaskbarCreated" the icon is taken out and
// put in again, and taking it out brings a hidden application back (without its icon the
// program could not be reached). So the settings window that was hidden in the tray is
// shown after a restart, and while it is shown the hotkey is off; hidden again (a double
// click on the icon), the hotkey works again. A window that was shown stays shown.
//
// Counts: 3 restarts in every test run, 20 with NESTORA_SOAK=1, each way.
#include "nestora_process.h"

#include "tests/support/core/folder_series.h"
#include "tests/support/core/round_counts.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/test_tray.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace nestora::reliability {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kBase[] = L"Shell restart";
constexpr wchar_t kTip[] = L"Hot key: Ctrl+`";

class ShellRestartTest : public ::testing::Test {
protected:
    void SetUp() override {
        restarts = testing::Rounds({3, 20});
        desktop = DesktopFolder();
        ASSERT_FALSE(desktop.empty());
        RemoveSeries(desktop, kBase);
        StoreSettings({0, kBase, L"Ctrl+`", L"En"});
        ASSERT_TRUE(tray.first()) << "the stand-in tray is not the one the shell calls reach";
        nestora = StartNestora();
        ASSERT_TRUE(nestora);
        ASSERT_TRUE(testing::WaitFor([&] { return tray.IconsOf(nestora->Id()) == 1; }));
        EXPECT_EQ(tray.TipOf(nestora->Id()), kTip);
        window = nestora->Window(kMainWindowClass);
        trayWindow = nestora->Window(kTrayWindowClass);
        ASSERT_FALSE(::IsWindowVisible(window));
    }
    void TearDown() override {
        if (nestora) {
            EXPECT_EQ(CloseNestora(*nestora), 0u);
            // Its icon leaves the tray with it.
            EXPECT_EQ(tray.IconsOf(nestora->Id()), 0);
        }
        RemoveSeries(desktop, kBase);
        RemoveSettings();
    }

    // Waits for the icon after a restart; how long it took, or nothing.
    std::optional<std::chrono::steady_clock::duration> RestartAndWaitForIcon() {
        const auto start = std::chrono::steady_clock::now();
        tray.Restart();
        if (!testing::WaitFor([&] { return tray.IconsOf(nestora->Id()) >= 1; }, 10s))
            return std::nullopt;
        const auto took = std::chrono::steady_clock::now() - start;
        testing::PumpFor(200ms); // a second add, if one were coming
        return took;
    }
    bool Shown() const { return ::IsWindowVisible(window) != FALSE; }
    void DoubleClickIcon() {
        ::PostMessageW(trayWindow, kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    }
    // Presses the hotkey until a folder comes, at most `attempts` times, 1.5 s apart; how
    // many presses it took, 0 for none.
    int PressesUntilAFolder(int attempts) {
        const long before = Made();
        for (int press = 1; press <= attempts; ++press) {
            std::vector<INPUT> events = testing::PressesOf(testing::kDefaultHotKey, 1);
            testing::SendInputs(events);
            if (testing::WaitFor([&] { return Made() > before; }, 1500ms))
                return press;
        }
        return 0;
    }
    long Made() const {
        return static_cast<long>(testing::SeriesNumbers(kBase, DirectoryNames(desktop)).size());
    }

    testing::TestTray tray;
    std::unique_ptr<testing::ChildProcess> nestora;
    HWND window = nullptr;
    HWND trayWindow = nullptr;
    int restarts = 0;
    std::wstring desktop;
};

TEST_F(ShellRestartTest, TheIconComesBackOnceAndTheHiddenWindowIsShownTillHiddenAgain) {
    int iconsBack = 0, shown = 0, hotKeyOffWhileShown = 0, hotKeyBackAfterHiding = 0;
    int firstPressAfterHiding = 0;
    double slowest = 0;
    for (int round = 0; round < restarts; ++round) {
        ASSERT_FALSE(Shown());
        const auto took = RestartAndWaitForIcon();
        ASSERT_TRUE(took) << "round " << round << ": the icon did not come back";
        slowest = std::max(slowest, std::chrono::duration<double>(*took).count());
        EXPECT_EQ(tray.IconsOf(nestora->Id()), 1);
        EXPECT_EQ(tray.TipOf(nestora->Id()), kTip);
        iconsBack += tray.IconsOf(nestora->Id()) == 1 ? 1 : 0;
        // The tray icon's rule: taking the icon out brought the hidden window back.
        const bool cameBack = testing::WaitFor([&] { return Shown(); }, 5s);
        EXPECT_TRUE(cameBack) << "round " << round;
        shown += cameBack ? 1 : 0;
        // Shown, the hotkey is off: a press makes nothing.
        const long before = Made();
        std::vector<INPUT> events = testing::PressesOf(testing::kDefaultHotKey, 1);
        testing::SendInputs(events);
        testing::PumpFor(700ms);
        EXPECT_EQ(Made(), before) << "round " << round;
        hotKeyOffWhileShown += Made() == before ? 1 : 0;
        // Hidden again from the icon: the hotkey works again.
        DoubleClickIcon();
        ASSERT_TRUE(testing::WaitFor([&] { return !Shown(); }, 5s)) << "round " << round;
        // No hand presses keys within a moment of the window going.
        testing::PumpFor(300ms);
        const int presses = PressesUntilAFolder(3);
        EXPECT_EQ(presses, 1) << "round " << round << ", tip "
                              << ::testing::PrintToString(tray.TipOf(nestora->Id()));
        hotKeyBackAfterHiding += presses > 0 ? 1 : 0;
        firstPressAfterHiding += presses == 1 ? 1 : 0;
        EXPECT_TRUE(nestora->Running());
        EXPECT_TRUE(MessageBoxesOf(*nestora).empty());
    }
    std::printf("[ FIGURES  ] shell restarts with the window hidden: %d; icon back once in %d "
                "(slowest %.2f s); window shown after it in %d; hotkey off while shown in %d; "
                "back after hiding in %d (at the first press in %d)\n",
                restarts, iconsBack, slowest, shown, hotKeyOffWhileShown, hotKeyBackAfterHiding,
                firstPressAfterHiding);
}

TEST_F(ShellRestartTest, AShownWindowStaysShownAndTheIconComesBackOnce) {
    DoubleClickIcon();
    ASSERT_TRUE(testing::WaitFor([&] { return Shown(); }, 5s));
    int iconsBack = 0, stayedShown = 0;
    for (int round = 0; round < restarts; ++round) {
        const auto took = RestartAndWaitForIcon();
        ASSERT_TRUE(took) << "round " << round << ": the icon did not come back";
        EXPECT_EQ(tray.IconsOf(nestora->Id()), 1);
        iconsBack += tray.IconsOf(nestora->Id()) == 1 ? 1 : 0;
        EXPECT_TRUE(Shown()) << "round " << round;
        stayedShown += Shown() ? 1 : 0;
    }
    std::printf("[ FIGURES  ] shell restarts with the window shown: %d; icon back once in %d; "
                "window still shown in %d\n",
                restarts, iconsBack, stayedShown);
    DoubleClickIcon();
    EXPECT_TRUE(testing::WaitFor([&] { return !Shown(); }, 5s));
}

} // namespace
} // namespace nestora::reliability
