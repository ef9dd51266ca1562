#include "gui/win/dpi.h"

#include "gui/core/dpi_scale.h"
#include "gui/win/handles.h"

namespace nestora::gui {

namespace {

// user32 is loaded into every process with a window, so its handle stays valid.
template <class Function> Function User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

int ScreenLogPixels() {
    const WindowDC screen = WindowDC::Client(nullptr);
    const int value = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return value > 0 ? value : kDesignDpi;
}

} // namespace

int SystemDpi() {
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem) {
        const UINT dpi = getDpiForSystem();
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return ScreenLogPixels();
}

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        // 0 for a handle that is no window.
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int DeviceDpi(HDC dc) {
    const int value = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    return value > 0 ? value : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto getMetricForDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getMetricForDpi && dpi > 0)
        return getMetricForDpi(index, static_cast<UINT>(dpi));
    return ScaleBetweenDpis(::GetSystemMetrics(index), SystemDpi(), dpi);
}

} // namespace nestora::gui
