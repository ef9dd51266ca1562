#pragma once
// TabfCustomTimer: a component with a hidden window of its own and one timer on it; the
// base of the tray icon, which receives the shell's notifications, its timers and the
// "TaskbarCreated" broadcast through that window.
//
// The hidden window: class "TPUtilWindow", WS_EX_TOOLWINDOW, WS_POPUP, no caption, no size,
// never shown. It is an ordinary top-level window, not a message-only one, because only
// top-level windows get broadcasts such as "TaskbarCreated". It is bound to the object with
// gui::WindowBinding, which hands every message to the virtual WndProc and its errors to
// the application. When something else ends the window (a WM_CLOSE reaches default
// processing), the component lets go of it and its timer no longer runs.
//
// Life story:
//   created   Interval 1000, Enabled true, no OnTimer: the window is made, no timer runs.
//   running   timer 1 runs exactly while Interval is not 0, Enabled is true and OnTimer is
//             assigned (UpdateTimer after every change of the three); each tick runs
//             Timer, whose errors go to the application's error handler.
//   destroyed Enabled false, timer 1 killed, the binding cleared (late messages reach
//             nothing), then the window destroyed.
//
// Descendants that receive messages must not touch their members after raising an event:
// a handler may free the component (the window entry itself touches nothing afterwards).

#include "gui/win/graphics_win32.h"

#include "desktop/abf_component.h"
#include "gui/core/events.h"
#include "gui/win/graphics_counters.h"
#include "gui/win/message.h"

#include <memory>

namespace nestora::gui {
template <class T, const wchar_t* Property> class WindowBinding;
}

namespace nestora::desktop {

class TabfCustomTimer : public TabfComponent {
public:
    explicit TabfCustomTimer(gui::TComponent* owner);
    ~TabfCustomTimer() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Milliseconds between ticks; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const gui::TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(gui::TNotifyEvent handler);

    // The hidden window.
    HWND WindowHandle() const { return window_.get(); }
    // Whether timer 1 is set on the window now.
    bool TimerRunning() const { return timerRunning_; }

    static constexpr UINT_PTR kTimerId = 1;

protected:
    // Every message of the hidden window. The base runs Timer for timer 1 and gives the
    // rest default processing; the result goes into message.Result.
    virtual void WndProc(gui::TMessage& message);
    // One tick of timer 1; the base raises OnTimer.
    virtual void Timer();
    // Kills timer 1 and sets it again when it should run. EOutOfResources "Not enough
    // timers available" when Windows refuses it (the settings keep their new values).
    void UpdateTimer();

private:
    template <class, const wchar_t*> friend class gui::WindowBinding;
    // The window binding (gui/win/window_binding.h).
    void WindowBound(HWND) noexcept {}
    void WindowMessage(gui::TMessage& message);
    void WindowGone(HWND window) noexcept;
    std::weak_ptr<const void> WindowLife() const noexcept { return life_; }

    unsigned interval_ = 1000;
    bool enabled_ = true;
    gui::TNotifyEvent onTimer_;
    bool timerRunning_ = false;
    gui::CountedWindow window_;
    std::shared_ptr<char> life_ = std::make_shared<char>(0); // expires with the object
};

} // namespace nestora::desktop
