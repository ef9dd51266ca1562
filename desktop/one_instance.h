#pragma once
// TabfOneInstance: keeps a second copy of a program from running.
//
// When the window description holding it has been read, it tests a pair of named mutexes
// (desktop/core/guard_names.h). The first copy takes the "Default" mutex and holds it for
// the rest of its life; a later copy finds it held, optionally tells the user ("Application
// "<title>" is already running."), optionally brings the first copy's application window
// forward, and asks its application to end before the message loop starts. The
// "CriticalSection" mutex makes the test atomic: of two copies started at the same moment,
// the one that finds it existing counts itself as the second, so exactly one runs on.
//
// Process-wide state: the handle of the "Default" mutex, one per process (so one guard per
// program). It is kept for the life of the process and released and closed at its exit,
// not when the guard goes: the settings are written while the main window is destroyed,
// and a new copy must not start reading them before that is over. A copy that ends
// without releasing it leaves an abandoned mutex, which the next copy takes over.
//
// Life story: created with its owner; Loaded runs the test once (never in design mode,
// where no copy is ever "running"); nothing happens at destruction.
//
// The message box goes through the application's (TApplication::SetMessageBoxFunction),
// owned by the application window, with the application title as caption.

#include "gui/win/graphics_win32.h"

#include "desktop/abf_component.h"
#include "desktop/core/guard_names.h"

#include <functional>
#include <string>

namespace nestora::desktop {

// terminate may be cleared to let the second copy run.
using TabfOneInstanceShowMessage = std::function<void(gui::TObject* sender, bool& terminate)>;

class TabfOneInstance : public TabfComponent {
public:
    explicit TabfOneInstance(gui::TComponent* owner) : TabfComponent(owner) {}

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool ActivatePrevInstance() const { return activatePrevInstance_; }
    void SetActivatePrevInstance(bool value) { activatePrevInstance_ = value; }
    // Name the guard after the executable's path (upper-cased) instead of the title.
    bool ExeNameAsIdentifier() const { return exeNameAsIdentifier_; }
    void SetExeNameAsIdentifier(bool value) { exeNameAsIdentifier_ = value; }
    // The message box's text; empty: the built-in text.
    const std::wstring& Message() const { return message_; }
    void SetMessage(const std::wstring& message) { message_ = message; }
    // Added to the guard's name.
    const std::wstring& Identifier() const { return identifier_; }
    void SetIdentifier(const std::wstring& identifier) { identifier_ = identifier; }
    bool ShowMessage() const { return showMessage_; }
    void SetShowMessage(bool value) { showMessage_ = value; }
    void SetOnShowMessage(TabfOneInstanceShowMessage handler) {
        onShowMessage_ = std::move(handler);
    }

    // Runs the test.
    void Loaded() override;

    // Another copy holds the guard.
    virtual bool IsPrevInstanceRunning();
    // The test and, when another copy runs, the message, the activation and the request to
    // terminate.
    virtual void CheckOneInstance();
    // Whether this copy asked its application to terminate.
    bool Terminating() const { return terminate_; }

    // The names this guard uses now.
    GuardMutexNames MutexNames() const;
    // The other copy's application window (same window class, same title, not this copy's
    // own), or null.
    HWND FindPrevInstanceWindow() const;

protected:
    virtual void DoActivatePrevInstance();
    virtual void DoShowMessage();

private:
    bool activatePrevInstance_ = true;
    bool exeNameAsIdentifier_ = false;
    bool showMessage_ = false;
    TabfOneInstanceShowMessage onShowMessage_;
    std::wstring message_;
    std::wstring identifier_;
    bool terminate_ = false;
};

// A path upper-cased as Windows does for file names (CharUpperBuffW, any script).
std::wstring UpperCasePath(std::wstring path);

} // namespace nestora::desktop
