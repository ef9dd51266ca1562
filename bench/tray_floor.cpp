// The floor for the start-up and footprint figures: the least a tray program can be, built
// the same way as Nestora (same compiler, flags, static runtime). One hidden top-level
// window, one tray icon, the message loop; the icon goes again when the window is closed.
//
// Built twice: tray_floor as just that, and tray_floor_controls with the program's manifest
// and the common controls loaded and initialised at start, as nestora.exe once did (it now
// loads them only when its window is first shown), which tells the system library's share
// of the footprint from the program's own.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayCallback = WM_USER + 211;

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef NESTORA_FLOOR_COMMON_CONTROLS
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                       ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
#endif
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"NestoraTrayFloor";
    if (!::RegisterClassW(&windowClass))
        return 1;
    const HWND window =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallback;
    data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpynW(data.szTip, L"Floor", ARRAYSIZE(data.szTip));
    ::Shell_NotifyIconW(NIM_ADD, &data);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
