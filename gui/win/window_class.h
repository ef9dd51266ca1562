#pragma once
// The window classes of the framework.
//
// Every framework window has a class named after its control's class (the program's main
// window is a "TForm1", a label a "TLabel") and the framework's one window procedure. A
// control built on a system control (the edit box, the hot-key field) superclasses it:
// its class copies the system class and only takes over the window procedure, passing
// what it does not handle to the system's procedure. Classes are registered with the
// module holding this code the first time a window of that class is made and stay for the
// life of the process, as Windows keeps them anyway.

#include "gui/win/graphics_win32.h"

#include <string>

namespace nestora::gui {

struct WindowClassDesc {
    std::wstring name;
    WNDPROC procedure = nullptr;        // the framework's entry for this kind of window
    const wchar_t* baseClass = nullptr; // system class to superclass, or null
    UINT style = CS_DBLCLKS;            // for own classes; superclasses keep the base's
    HICON icon = nullptr;
};

// Registers the class when it does not exist yet. Returns the procedure that default
// processing must call: the base class's for a superclass, DefWindowProcW otherwise.
// Fails with EOutOfResources when Windows refuses the class (or the base does not exist).
WNDPROC EnsureWindowClass(const WindowClassDesc& desc);

// The module (executable) whose classes and resources the framework uses.
HINSTANCE FrameworkInstance();

} // namespace nestora::gui
