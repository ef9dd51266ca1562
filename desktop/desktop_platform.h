#pragma once
// Facts about the running Windows that the desktop components decide on, each read once.
//
// Nestora supports Windows 7 and later, where IsWinNT() and IsWinNT5OrLater() are always
// true; the components still key their older-system branches on them (the first version
// of the tray record, no balloons, the service run keys), and take the values through
// their own seams so tests can walk those branches.

#include "gui/win/graphics_win32.h"

namespace nestora::desktop {

// The platform is Windows NT (not the Windows 95 family).
bool IsWinNT();
// Windows NT 5 (2000) or later: the full tray record with balloons.
bool IsWinNT5OrLater();
// The message the shell broadcasts to top-level windows when the taskbar is (re)created.
UINT TaskbarCreatedMessage();

} // namespace nestora::desktop
