// The hidden-window timer: the window is a real top-level tool window that gets broadcasts,
// timer 1 runs exactly while Interval, Enabled and OnTimer all allow it, errors in a tick go
// to the application's handler, and nothing reaches the component once it is gone.
#include "app_test_support.h"

#include "desktop/custom_timer.h"
#include "gui/core/exceptions.h"

#include <gtest/gtest.h>

namespace {

using nestora::desktop::TabfCustomTimer;
using nestora::gui::testing::AppTest;

// Records the messages its hidden window receives.
class TRecordingTimer : public TabfCustomTimer {
public:
    using TabfCustomTimer::TabfCustomTimer;
    std::vector<UINT> received;

protected:
    void WndProc(nestora::gui::TMessage& message) override {
        received.push_back(message.Msg);
        TabfCustomTimer::WndProc(message);
    }
};

class CustomTimerTest : public AppTest {};

TEST_F(CustomTimerTest, TheHiddenWindowIsAnInvisibleTopLevelToolWindowThatGetsBroadcasts) {
    auto timer = nestora::gui::MakeComponent<TRecordingTimer>();
    const HWND window = timer->WindowHandle();
    ASSERT_TRUE(::IsWindow(window));
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    EXPECT_STREQ(className, L"TPUtilWindow");
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & WS_POPUP, WS_POPUP);
    EXPECT_TRUE(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::GetWindowTextLengthW(window), 0);
    // A real top-level window (a message-only one would have HWND_MESSAGE's window as its
    // parent and would miss the broadcast below).
    EXPECT_EQ(::GetAncestor(window, GA_PARENT), ::GetDesktopWindow());
    const UINT broadcast = ::RegisterWindowMessageW(L"NestoraDesktopTestBroadcast");
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, broadcast, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    EXPECT_NE(std::find(timer->received.begin(), timer->received.end(), broadcast),
              timer->received.end());
}

TEST_F(CustomTimerTest, TheTimerRunsOnlyWhileIntervalEnabledAndOnTimerAllAllowIt) {
    auto timer = nestora::gui::MakeComponent<TabfCustomTimer>();
    EXPECT_EQ(timer->Interval(), 1000u);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_FALSE(timer->TimerRunning()); // no handler yet
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](nestora::gui::TObject* sender) {
        EXPECT_EQ(sender, timer.get());
        ++ticks;
    });
    EXPECT_TRUE(timer->TimerRunning());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));

    timer->SetEnabled(false);
    EXPECT_FALSE(timer->TimerRunning());
    const int stopped = ticks;
    Pump(60);
    EXPECT_EQ(ticks, stopped);

    timer->SetEnabled(true);
    timer->SetInterval(0);
    EXPECT_FALSE(timer->TimerRunning());
    timer->SetInterval(10);
    EXPECT_TRUE(timer->TimerRunning());
    timer->SetOnTimer({});
    EXPECT_FALSE(timer->TimerRunning());
    Pump(60);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(CustomTimerTest, AnErrorInATickReachesTheApplicationAndTheTimerGoesOn) {
    auto timer = nestora::gui::MakeComponent<TabfCustomTimer>();
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](nestora::gui::TObject*) {
        ++ticks;
        throw nestora::gui::Exception(L"tick failed");
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    timer->SetOnTimer({});
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"tick failed");
    EXPECT_EQ(boxes[0].caption, L"Nestora Test");
    EXPECT_TRUE(boxes[0].flags & MB_ICONERROR);
}

TEST_F(CustomTimerTest, AComponentFreedInItsOwnTickOrWithMessagesQueuedIsNotReachedAgain) {
    auto* owner = nestora::gui::Create<nestora::gui::TComponent>(app.get());
    auto* timer = nestora::gui::Create<TabfCustomTimer>(owner);
    const HWND window = timer->WindowHandle();
    bool freed = false;
    timer->SetInterval(5);
    timer->SetOnTimer([&](nestora::gui::TObject*) {
        if (!freed) {
            freed = true;
            timer->Free();
        }
    });
    ASSERT_TRUE(PumpUntil([&] { return freed; }));
    EXPECT_FALSE(::IsWindow(window));

    auto other = nestora::gui::MakeComponent<TabfCustomTimer>();
    const HWND otherWindow = other->WindowHandle();
    ::PostMessageW(otherWindow, WM_TIMER, TabfCustomTimer::kTimerId, 0);
    ::PostMessageW(otherWindow, WM_USER, 0, 0);
    other.reset();
    Pump(30); // the queued messages find no window and no object
    EXPECT_FALSE(::IsWindow(otherWindow));
    owner->Free();
}

// A descendant whose own message handling fails (the tray icon handles the shell's
// messages in its WndProc, outside the tick's guard).
class TFailingTimer : public TabfCustomTimer {
public:
    using TabfCustomTimer::TabfCustomTimer;
    static constexpr UINT kFail = WM_APP + 7;

protected:
    void WndProc(nestora::gui::TMessage& message) override {
        if (message.Msg == kFail)
            throw nestora::gui::EInvalidOperation(L"shell message failed");
        TabfCustomTimer::WndProc(message);
    }
};

TEST_F(CustomTimerTest, AnErrorInTheWindowsOwnHandlingReachesTheApplicationAndNoFurther) {
    auto timer = nestora::gui::MakeComponent<TFailingTimer>();
    EXPECT_EQ(::SendMessageW(timer->WindowHandle(), TFailingTimer::kFail, 0, 0), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"shell message failed");
    // The window and its binding are untouched: the timer still ticks.
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetOnTimer([&](nestora::gui::TObject*) { ++ticks; });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 1; }));
}

TEST_F(CustomTimerTest, AWindowClosedBehindTheComponentsBackStopsItsTimerAndIsNotDestroyedTwice) {
    const long windowsBefore = nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window);
    const long lostBefore = nestora::gui::LostWindowDestroys();
    auto timer = nestora::gui::MakeComponent<TabfCustomTimer>();
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetOnTimer([&](nestora::gui::TObject*) { ++ticks; });
    ASSERT_TRUE(timer->TimerRunning());
    const HWND window = timer->WindowHandle();
    // Default processing of WM_CLOSE destroys the window.
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindow(window));
    EXPECT_EQ(timer->WindowHandle(), nullptr);
    EXPECT_FALSE(timer->TimerRunning());
    EXPECT_EQ(nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window), windowsBefore);
    // No stray thread timer is started for a window that is not there.
    timer->SetInterval(7);
    EXPECT_FALSE(timer->TimerRunning());
    const int stopped = ticks;
    Pump(40);
    EXPECT_EQ(ticks, stopped);
    timer.reset();
    EXPECT_EQ(nestora::gui::LostWindowDestroys(), lostBefore);
}

TEST_F(CustomTimerTest, ManyTimersLeaveNoWindowBehind) {
    const long before = nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window);
    for (int i = 0; i < 200; ++i) {
        auto timer = nestora::gui::MakeComponent<TabfCustomTimer>();
        timer->SetOnTimer([](nestora::gui::TObject*) {});
    }
    EXPECT_EQ(nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window), before);
}

} // namespace
