#pragma once
// The DPI a window is drawn at, and the system metrics for a DPI.
//
// Per-monitor awareness (the manifest asks for it) lets every top-level window have the DPI
// of the monitor it is on; the functions that tell it (GetDpiForWindow,
// GetSystemMetricsForDpi, GetDpiForSystem) arrived with Windows 10 1607 and are looked up in
// user32 when first needed, never imported: the program still starts on Windows 7 and 8.1,
// where the screen's LOGPIXELSY is the one DPI there is.

#include "gui/win/graphics_win32.h"

namespace nestora::gui {

// The DPI of the system: what a window that is not per-monitor aware is drawn at, and what
// the screen's LOGPIXELSY tells.
int SystemDpi();
// The DPI window is drawn at; SystemDpi() for no window or where the system cannot say.
int WindowDpi(HWND window);
// The DPI a device context draws at (LOGPIXELSY); SystemDpi() for none.
int DeviceDpi(HDC dc);
// GetSystemMetrics for a window of that DPI: GetSystemMetricsForDpi where the system has
// it, else the system's metric scaled from the system DPI.
int SystemMetricForDpi(int index, int dpi);

} // namespace nestora::gui
