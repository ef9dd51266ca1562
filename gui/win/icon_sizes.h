#pragma once
// The sizes at which Windows wants icons for a given DPI, and the DPIs to ask for: an icon
// handed to the shell or a window at exactly the size it is shown is drawn from its own
// image in the icon resource instead of being stretched by the shell.
//
// The metrics come from gui/win/dpi.h (the system's own per-DPI answers on Windows 10 and
// later, scaled from the system DPI before). Nothing here loads comctl32
// (LoadIconWithScaleDown would).

#include "gui/win/graphics_win32.h"

namespace nestora::gui {

// SM_CXSMICON (the tray, a window's caption and taskbar button) and SM_CXICON (Alt+Tab) at
// dpi.
int SmallIconSize(int dpi);
int LargeIconSize(int dpi);

// The DPI the notification area is drawn at: its taskbar's ("Shell_TrayWnd", the primary
// one, which holds the tray), the system's when there is none.
int TaskbarDpi();

} // namespace nestora::gui
