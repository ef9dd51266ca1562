// The shell automation object ("Shell.Application") called late-bound, by name through
// IDispatch (GetIDsOfNames, then Invoke), as the seams of hotkey_press.h.
//
// Each call is one Invoke: `Windows` on the shell object, `Count` and `Item` on the
// collection, `HWND`, `LocationURL` and `Refresh` on a window. The browser window of an
// item is asked for without late binding (IServiceProvider::QueryService with
// SID_STopLevelBrowser, then IShellBrowser::GetWindow), and so is its view
// (win_shell_view.h).
//
// Lifetime: the objects hold their COM pointers and release them when destroyed; the
// thread must have COM initialised (apartment-threaded) for as long as they live.
#pragma once

#include "app/hotkey_press.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>

namespace nestora::app {

// The shell object given (tests hand in a fake IDispatch).
std::unique_ptr<ShellAutomation> ShellAutomationOver(Microsoft::WRL::ComPtr<IDispatch> shell);

// The system's "Shell.Application" (in-process or local server); null when it can't be
// created.
std::unique_ptr<ShellAutomation> CreateShellApplication();

// The text of a failed late-bound call: the object's own description when it gave one,
// "Method '%s' not supported by automation object" for a name it doesn't know, else the
// system's text for the error code.
std::wstring AutomationErrorText(const std::wstring& name, long hresult,
                                 const std::wstring& description);

} // namespace nestora::app
