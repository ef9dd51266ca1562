#pragma once
// The window the foreground goes back to once a tray menu has closed.
//
// Popping up a tray menu makes the program's (hidden) window the foreground window, or
// the menu would not close when the user clicks elsewhere. Left so, the next keystroke
// (the program's own hotkey included) finds no window of the user's in front. The window
// that had the foreground before is given it back; when that was the taskbar itself (a
// click on the notification area activates it on Windows), the window the user worked in
// is the first one behind it that a user can work in.

#include "gui/win/graphics_win32.h"

namespace nestora::desktop {

// before: the foreground window as the shell's report arrived; own: the program's window
// that took the foreground for the menu. Null when there is nowhere to go back to.
HWND WindowToReturnTo(HWND before, HWND own);

// The taskbar or its notification area's overflow (by class name).
bool IsTaskbarWindow(HWND window);

} // namespace nestora::desktop
