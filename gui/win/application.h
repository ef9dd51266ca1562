#pragma once
// TApplication: the program's message loop, its application window and its default error
// handler. One per process at a time: the program's entry (or a test fixture) creates it,
// gui::Application() reaches it; the framework keeps no other global state.
//
// The application window is a hidden top-level window of the class "TApplication" (the
// same in every copy of the program, so a second copy can find the first by class and
// title) whose text is Title. It carries the program's taskbar button and owns the forms,
// which therefore have no button of their own. Minimising the main form minimises the
// application window, where WM_SIZE with SIZE_MINIMIZED arrives; a component that must see
// it hooks that window (HookWindow): its hook sees every message before the application
// handles it. (A hook of the application's own rather than a subclass: subclassing lives
// in comctl32, which a program hidden in the tray should not have to load.)
//
// Errors: an exception raised inside any event or message handler ends that handler and
// reaches HandleException: OnException if set, else a message box with the error's text
// (gui::Exception::Message(), or what() of other exceptions), the title as caption and an
// error icon. The program goes on. Every window procedure and hook of the framework catches
// everything, so no exception ever crosses into the system. Message boxes go through a
// replaceable function (SetMessageBoxFunction), so tests see their text without a modal box.
//
// Life story:
//   created   becomes the current application (a second one is refused).
//   Initialize  the application window is made, with the MAINICON icon: its large image
//             at SM_CXICON and its small one at SM_CXSMICON of the window's DPI, each the
//             resource's own image of that size. When the DPI changes (WM_DPICHANGED, or
//             WM_SETTINGCHANGE / WM_DISPLAYCHANGE for a window never shown) both are loaded
//             again at the new sizes, as long as the program has not set an icon of its own.
//             (The common controls are loaded later, by the first control that needs them.)
//   CreateForm<T>  the form is owned by the application; the first one becomes MainForm
//             once its constructor (and its create event) is done.
//   Run       shows the main form (when ShowMainForm), then handles messages until the
//             main form closes or Terminate is called; WM_QUIT is consumed on the way out.
//             Without a main form it returns at once.
//   destroyed frees its forms (their destroy events run now), destroys the application
//             window and stops being current.

#include "gui/win/graphics_win32.h"

#include "gui/core/component.h"
#include "gui/core/events.h"
#include "gui/win/handles.h"
#include "gui/win/icon.h"
#include "gui/win/message.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace nestora::gui {

class TCustomForm;
template <class T, const wchar_t* Property> class WindowBinding;

using TMessageEvent = std::function<void(MSG& message, bool& handled)>;
using TWindowHook = std::function<void(TMessage& message)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;
using MessageBoxFunction = std::function<int(HWND owner, const std::wstring& text,
                                             const std::wstring& caption, unsigned flags)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Makes the application window.
    void Initialize();
    // The application window, made now if needed.
    HWND Handle();

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);
    // The executable's full path (long paths too).
    static std::wstring ExeName();

    template <class F> F* CreateForm() {
        F* form = Create<F>(this);
        if (!mainForm_)
            SetMainFormInternal(form);
        return form;
    }
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    void Run();
    // Asks the loop to end (also a loop not started yet: Run then returns at once).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting now; returns when the queue is empty.
    void ProcessMessages();
    // Handles one message, waiting for one when none is there.
    void HandleMessage();

    void Minimize();
    void Restore();
    // The program is the active one (WM_ACTIVATEAPP).
    bool Active() const { return active_; }
    // The icon of the application window and its taskbar button: the program's MAINICON
    // resource from Initialize on; a change reaches the window at once (as its large and
    // its small icon: a program's own icon replaces both).
    TIcon& Icon() { return icon_; }

    const TMessageEvent& OnMessage() const { return onMessage_; }
    void SetOnMessage(TMessageEvent e) { onMessage_ = std::move(e); }
    void SetOnException(TExceptionEvent e) { onException_ = std::move(e); }
    const TExceptionEvent& OnException() const { return onException_; }
    void SetOnMinimize(TNotifyEvent e) { onMinimize_ = std::move(e); }
    void SetOnRestore(TNotifyEvent e) { onRestore_ = std::move(e); }

    // Hooks of the application window: each sees every message the window gets, before
    // the application handles it (a hook only watches; its Result is not used, and what it
    // raises goes to the error handler). HookWindow returns the number UnhookWindow takes;
    // the hooks go with the application.
    int HookWindow(TWindowHook hook);
    void UnhookWindow(int id);

    // The default error handler (never throws).
    void HandleException(const std::exception& error) noexcept;
    // The message box of an error.
    void ShowException(const std::exception& error);
    // A message box owned by the application window, through the replaceable function.
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags);
    void SetMessageBoxFunction(MessageBoxFunction function);

    // The session ends (WM_ENDSESSION): the forms are freed now, so their destroy events
    // save what they must before Windows ends the process.
    void EndSession();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    template <class, const wchar_t*> friend class WindowBinding;
    // The window binding (window_binding.h).
    void WindowBound(HWND) noexcept {}
    void WindowMessage(TMessage& message);
    void WindowGone(HWND window) noexcept;
    std::weak_ptr<const void> WindowLife() const noexcept { return life_; }
    friend class TCustomForm;
    void SetMainFormInternal(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    bool IsDialogKey(const MSG& msg);
    void WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void DestroyForms();
    // The main form became visible or invisible: the taskbar button follows.
    void MainFormVisibilityChanged(bool visible);
    // icon_ changed: by the program (MAINICON no longer followed), or by LoadIconsAt.
    void IconChanged();
    // The window's large and small icon from icon_ and smallIcon_.
    void SendIcons();
    // MAINICON at the icon sizes of dpi, when it is the application's icon and its images
    // are not of those sizes already.
    void LoadIconsAt(int dpi);
    void CallWindowHooks(const TMessage& message);

    TIcon icon_;
    TIcon smallIcon_;               // MAINICON's small image while it is the icon
    bool iconFromResource_ = false; // icon_ is MAINICON, loaded here
    bool loadingIcons_ = false;
    UniqueWindow window_; // after icon_: the window lets go of the icon before it goes
    std::wstring title_;
    TCustomForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool active_ = false;
    TMessageEvent onMessage_;
    TExceptionEvent onException_;
    TNotifyEvent onMinimize_, onRestore_;
    MessageBoxFunction messageBox_;
    std::vector<std::pair<int, TWindowHook>> hooks_;
    int lastHookId_ = 0;
    std::shared_ptr<char> life_ = std::make_shared<char>(0); // expires with the object
};

// The current application; EInvalidOperation when there is none.
TApplication& Application();
// The current application or null.
TApplication* CurrentApplication() noexcept;

// Inside a catch block: hands the exception being handled to the current application's
// error handler (or drops it when there is no application). Never throws.
void HandleCurrentException() noexcept;

// Runs action; an exception it raises goes to HandleCurrentException.
template <class F> void CallGuarded(F&& action) noexcept {
    try {
        action();
    } catch (...) {
        HandleCurrentException();
    }
}

} // namespace nestora::gui
