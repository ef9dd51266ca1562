// Finding another process's windows from outside: its top-level windows by class (the
// main window "TForm1", the tray icon's "TPUtilWindow", message boxes "#32770", menus
// "#32768"), and what a message box says.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace nestora::testing {

inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

struct WindowQuery {
    DWORD processId = 0;
    const wchar_t* className = nullptr;
    bool visibleOnly = false;
};

// The process's top-level windows of the class, in Z order.
std::vector<HWND> ProcessWindows(const WindowQuery& query);

// The first of them, or null.
HWND ProcessWindow(const WindowQuery& query);

// The text of a message box (its static text, control 0xFFFF); empty while the box is
// still being made, and when its program doesn't answer within 2 s.
std::wstring MessageBoxText(HWND box);

// Closes a message box as its OK button does.
void PressOk(HWND box);

} // namespace nestora::testing
