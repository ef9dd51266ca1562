// The desktop's windows as a hotkey press sees them (hotkey_press.h), from the system.
#pragma once

#include "app/hotkey_press.h"

#include <windows.h>

namespace nestora::app {

class SystemPressWindows final : public PressWindows {
public:
    // applicationWindow: the program's own taskbar window, never counted as minimised.
    explicit SystemPressWindows(HWND applicationWindow) : applicationWindow_(applicationWindow) {}

    int minimisedWindowCount() override;
    WindowId foregroundWindow() override;
    // "Progman", or the "WorkerW" that holds the desktop's view after Win+D.
    bool isDesktop(WindowId window) override;
    // The frame's first child of class "ShellTabWindowClass", else "TabWindowClass".
    WindowId activeTab(WindowId frame) override;

private:
    HWND applicationWindow_;
};

WindowId windowIdOf(HWND window);

} // namespace nestora::app
