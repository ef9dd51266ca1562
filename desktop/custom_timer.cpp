#include "desktop/custom_timer.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/window_binding.h"
#include "gui/win/window_class.h"

namespace nestora::desktop {

namespace {
constexpr wchar_t kWindowClass[] = L"TPUtilWindow";
constexpr wchar_t kWindowProperty[] = L"Nestora.desktop.Timer";
using TimerBinding = gui::WindowBinding<TabfCustomTimer, kWindowProperty>;
} // namespace

void TabfCustomTimer::WindowMessage(gui::TMessage& message) {
    WndProc(message);
}

void TabfCustomTimer::WindowGone(HWND window) noexcept {
    // Ended by someone else (a WM_CLOSE reaching default processing): its timer went with
    // it, and no timer can run until there is a window again.
    if (window_.get() != window)
        return;
    (void)window_.release();
    timerRunning_ = false;
}

const gui::ClassInfo& TabfCustomTimer::StaticClassInfo() {
    static const gui::ClassInfo info =
        gui::ClassBuilder<TabfCustomTimer>("TabfCustomTimer", &TabfComponent::StaticClassInfo())
            .Build();
    return info;
}

TabfCustomTimer::TabfCustomTimer(gui::TComponent* owner) : TabfComponent(owner) {
    gui::EnsureWindowClass(
        gui::WindowClassDesc{kWindowClass, &TimerBinding::Entry, nullptr, 0, nullptr});
    const HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                          nullptr, nullptr, gui::FrameworkInstance(), this);
    if (!window)
        throw gui::EOutOfResources(L"The hidden window of a timer cannot be created");
    window_.reset(window);
}

TabfCustomTimer::~TabfCustomTimer() {
    enabled_ = false;
    const HWND window = window_.get();
    if (timerRunning_)
        ::KillTimer(window, kTimerId);
    timerRunning_ = false;
    // LOAD BEARING: unbound before it goes, so the messages of its destruction (and any a
    // handler sends meanwhile) reach default processing, never this half-destroyed object.
    TimerBinding::Unbind(window);
    window_.reset();
}

void TabfCustomTimer::SetInterval(unsigned interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    UpdateTimer();
}

void TabfCustomTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TabfCustomTimer::SetOnTimer(gui::TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TabfCustomTimer::UpdateTimer() {
    const HWND window = window_.get();
    // Without a window, SetTimer would start a thread timer under another number that
    // nothing could stop or receive.
    if (!window)
        return;
    ::KillTimer(window, kTimerId);
    timerRunning_ = false;
    if (interval_ == 0 || !enabled_ || !onTimer_)
        return;
    if (!::SetTimer(window, kTimerId, interval_, nullptr))
        throw gui::EOutOfResources(L"Not enough timers available");
    timerRunning_ = true;
}

void TabfCustomTimer::WndProc(gui::TMessage& message) {
    if (message.Msg == WM_TIMER && message.WParam == kTimerId) {
        gui::CallGuarded([this] { Timer(); });
        return;
    }
    message.Result = ::DefWindowProcW(message.Window, message.Msg, message.WParam, message.LParam);
}

void TabfCustomTimer::Timer() {
    if (onTimer_) {
        const gui::TNotifyEvent handler = onTimer_; // the handler may replace itself
        handler(this);
    }
}

} // namespace nestora::desktop
