// The desktop's windows as a hotkey press sees them (hotkey_press.h), from the system.
#pragma once

#include "app/hotkey_press.h"

#include <windows.h>

namespace nestora::app {

class SystemPressWindows final : public PressWindows {
public:
    bool IsMinimised(WindowId window) override;
    WindowId ForegroundWindow() override;
    // "Progman", or the "WorkerW" that holds the desktop's view after Win+D.
    bool IsDesktop(WindowId window) override;
    // The frame's first child of class "ShellTabWindowClass", else "TabWindowClass".
    WindowId ActiveTab(WindowId frame) override;
};

WindowId WindowIdOf(HWND window);

} // namespace nestora::app
