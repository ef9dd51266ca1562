#include "gui/win/icon_sizes.h"

#include "gui/win/font.h"

namespace nestora::gui {

namespace {

using MetricForDpi = int(WINAPI*)(int, UINT);
using WindowDpi = UINT(WINAPI*)(HWND);

// user32 is loaded in every process with a window: only looked up, never loaded here.
template <typename Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

int MetricAt(int index, UINT dpi) {
    static const MetricForDpi forDpi = User32Function<MetricForDpi>("GetSystemMetricsForDpi");
    if (forDpi && dpi > 0)
        return forDpi(index, dpi);
    // Before Windows 10 every window is drawn at the system DPI, the one GetSystemMetrics
    // answers for; another DPI is scaled from it as the system scales its metrics.
    const int atSystem = ::GetSystemMetrics(index);
    const int system = ScreenPixelsPerInch();
    if (dpi == 0 || static_cast<int>(dpi) == system)
        return atSystem;
    return ::MulDiv(atSystem, static_cast<int>(dpi), system);
}

} // namespace

int SmallIconSize(UINT dpi) {
    return MetricAt(SM_CXSMICON, dpi);
}

int LargeIconSize(UINT dpi) {
    return MetricAt(SM_CXICON, dpi);
}

UINT DpiOfWindow(HWND window) {
    static const WindowDpi forWindow = User32Function<WindowDpi>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window); dpi > 0)
            return dpi;
    }
    return static_cast<UINT>(ScreenPixelsPerInch());
}

UINT TaskbarDpi() {
    return DpiOfWindow(::FindWindowW(L"Shell_TrayWnd", nullptr));
}

} // namespace nestora::gui
