#include "desktop/custom_timer.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/window_class.h"

namespace desktop {

namespace {
constexpr wchar_t kWindowClass[] = L"TPUtilWindow";
}

LRESULT CALLBACK TabfCustomTimer::WindowEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* timer = reinterpret_cast<TabfCustomTimer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!timer)
        return ::DefWindowProcW(window, msg, wParam, lParam);
    gui::TMessage message{window, msg, wParam, lParam, 0};
    try {
        timer->WndProc(message);
    } catch (...) {
        gui::HandleCurrentException();
    }
    // The component may be gone by now (a handler freed it): only the local record is read.
    return message.Result;
}

const gui::ClassInfo& TabfCustomTimer::StaticClassInfo() {
    static const gui::ClassInfo info =
        gui::ClassBuilder<TabfCustomTimer>("TabfCustomTimer", &TabfComponent::StaticClassInfo())
            .Build();
    return info;
}

TabfCustomTimer::TabfCustomTimer(gui::TComponent* owner) : TabfComponent(owner) {
    gui::EnsureWindowClass(gui::WindowClassDesc{kWindowClass, &WindowEntry, nullptr, 0, nullptr});
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
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
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

} // namespace desktop
