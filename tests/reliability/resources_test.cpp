// The real main window shown and hidden, and its tray menu opened, thousands of times in
// this process: the GDI and USER objects the graphics layer holds (its own counters; Wine
// answers 0 to GetGuiResources, which is printed beside them), and the process's
// committed private pages, must not grow.
//
// In this process rather than against nestora.exe: the handle counters exist only inside
// the process that holds the handles, and a show, a hide or a menu here runs exactly the
// program's code (the same TForm1, tray icon and skinned menu) without the time a
// cross-process message costs, so the full 10,000 rounds fit in minutes. The private
// bytes include the test's own, which stay put while the rounds run.
#include "main_window_host.h"
#include "tests/support/core/round_counts.h"

#include "bench/process_watch.h"
#include "gui/win/graphics_counters.h"

#include <cstdio>

namespace nestora::reliability {
namespace {

struct Footprint {
    long gdi = 0;
    long user = 0;
    long systemGdi = 0;
    long systemUser = 0;
    double privateBytes = 0;

    static Footprint Now() {
        return {gui::HandleCounters::LiveGdiObjects(), gui::HandleCounters::LiveUserObjects(),
                gui::ProcessGdiObjects(), gui::ProcessUserObjects(),
                bench::PrivateBytesOf(::GetCurrentProcess())};
    }
};

void Print(const char* what, int rounds, const Footprint& before, const Footprint& half,
           const Footprint& after, double seconds) {
    std::printf("[ MEASURED ] %s, %d rounds in %.1f s: GDI objects %ld -> %ld, USER objects "
                "%ld -> %ld (GetGuiResources: GDI %ld -> %ld, USER %ld -> %ld); private "
                "bytes %.0f KiB -> %.0f KiB at half -> %.0f KiB\n",
                what, rounds, seconds, before.gdi, after.gdi, before.user, after.user,
                before.systemGdi, after.systemGdi, before.systemUser, after.systemUser,
                before.privateBytes / 1024, half.privateBytes / 1024, after.privateBytes / 1024);
}

// Allowed drift of private bytes over the second half of the rounds: the heap settles
// in the first half (caches, the message queue's blocks); a leak of even a few bytes a
// round shows over thousands of rounds as steady growth, and at the full count 64 KiB
// is under 7 bytes a round.
constexpr double kPrivateBytesDrift = 64 * 1024;

// Ends the tray menu from inside its modal loop once it is on the screen. A tick that
// comes before the menu is open (the tray icon handles pending messages before it pops
// the menu up) leaves the timer running for the next tick.
struct MenuCloser {
    static inline int closed = 0;
    static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD) {
        const HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu))
            return;
        ::KillTimer(nullptr, id);
        ++closed;
        ::EndMenu();
    }
};

class Resources : public MainWindowHost {};

TEST_F(Resources, ShowingAndHidingTheWindowKeepsHandlesAndMemoryFlat) {
    const int rounds = nestora::testing::Rounds({500, 10000});
    app::TForm1& f = StartAsMainForm();
    const auto cycle = [this, &f](int i) {
        f.MenuShowWinClick(nullptr);
        if (i % 10 == 0) // now and then the credits view, and back on hiding
            f.FormMainTitleBarHelpBtnClick(nullptr, 1);
        ::RedrawWindow(f.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        f.BtnHideClick(nullptr);
        // The host records each registration; kept from growing, so that the private bytes
        // are the program's alone.
        registrations.clear();
        selectionRegistrations.clear();
        if (i % 50 == 0)
            gui::CurrentApplication()->ProcessMessages();
    };
    for (int i = 0; i < 50; ++i) // the first rounds make what is made once
        cycle(i);
    Pump(30);
    const Footprint before = Footprint::Now();
    const DWORD start = ::GetTickCount();
    Footprint half;
    for (int i = 0; i < rounds; ++i) {
        cycle(i);
        if (i == rounds / 2) {
            Pump(10);
            half = Footprint::Now();
        }
    }
    Pump(30);
    const Footprint after = Footprint::Now();
    Print("show, paint, hide", rounds, before, half, after, (::GetTickCount() - start) / 1000.0);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_LE(after.systemGdi, before.systemGdi);
    EXPECT_LE(after.systemUser, before.systemUser);
    EXPECT_LE(after.privateBytes - half.privateBytes, kPrivateBytesDrift);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(f.MenuShowWin->Enabled());
    EXPECT_TRUE(f.Label2->Visible()) << "hidden in the normal view";
}

TEST_F(Resources, OpeningTheTrayMenuKeepsHandlesAndMemoryFlat) {
    const int rounds = nestora::testing::Rounds({500, 10000});
    app::TForm1& f = StartAsMainForm();
    const auto open = [&f] {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &MenuCloser::Close);
        f.abfTray->PopupAtCursor();  // returns when the menu has closed
        ::KillTimer(nullptr, timer); // in case no menu ever came
    };
    for (int i = 0; i < 20; ++i)
        open();
    Pump(30);
    MenuCloser::closed = 0;
    const Footprint before = Footprint::Now();
    const DWORD start = ::GetTickCount();
    Footprint half;
    for (int i = 0; i < rounds; ++i) {
        open();
        if (i == rounds / 2) {
            Pump(10);
            half = Footprint::Now();
        }
    }
    Pump(30);
    const Footprint after = Footprint::Now();
    Print("tray menu opened and closed", rounds, before, half, after,
          (::GetTickCount() - start) / 1000.0);
    std::printf("[ COUNTS   ] the menu was seen open and closed %d times of %d\n",
                MenuCloser::closed, rounds);
    EXPECT_EQ(MenuCloser::closed, rounds);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    EXPECT_LE(after.systemGdi, before.systemGdi);
    EXPECT_LE(after.systemUser, before.systemUser);
    EXPECT_LE(after.privateBytes - half.privateBytes, kPrivateBytesDrift);
    EXPECT_FALSE(f.Visible());
}

} // namespace
} // namespace nestora::reliability
