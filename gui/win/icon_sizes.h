#pragma once
// The sizes at which Windows wants icons for a given DPI, and the DPIs to ask for: an icon
// handed to the shell or a window at exactly the size it is shown is drawn from its own
// image in the icon resource instead of being stretched by the shell.
//
// GetSystemMetricsForDpi, GetDpiForWindow and GetDpiForSystem came with Windows 10 (1607);
// they are looked up at run time, and on Windows 7 and 8.1 the answers come from
// GetSystemMetrics and the screen's LOGPIXELSY, the system DPI those systems draw at.
// Nothing here loads comctl32 (LoadIconWithScaleDown would).

#include "gui/win/graphics_win32.h"

namespace nestora::gui {

// SM_CXSMICON (the tray, a window's caption and taskbar button) and SM_CXICON (Alt+Tab) at
// dpi.
int SmallIconSize(UINT dpi);
int LargeIconSize(UINT dpi);

// The DPI of the screen a window is on; the system's for no window or before Windows 10.
UINT DpiOfWindow(HWND window);

// The DPI the notification area is drawn at: its taskbar's ("Shell_TrayWnd", the primary
// one, which holds the tray), the system's when there is none.
UINT TaskbarDpi();

} // namespace nestora::gui
