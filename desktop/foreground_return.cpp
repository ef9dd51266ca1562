#include "desktop/foreground_return.h"

#include <dwmapi.h>

#include <array>
#include <string_view>

namespace nestora::desktop {

namespace {

std::wstring_view ClassOf(HWND window, std::array<wchar_t, 64>& buffer) {
    const int length = ::GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
}

// A window the user can be working in: shown, not minimised, not a tool window, and not
// cloaked (Windows 10 keeps suspended store apps "visible" but cloaked, often in front).
bool UsableWindow(HWND window, HWND own) {
    if (!window || window == own || !::IsWindowVisible(window) || ::IsIconic(window))
        return false;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))
        return false;
    if (::GetWindow(window, GW_OWNER) != nullptr)
        return false;
    DWORD cloaked = 0;
    if (SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) &&
        cloaked != 0)
        return false;
    return !IsTaskbarWindow(window);
}

} // namespace

bool IsTaskbarWindow(HWND window) {
    std::array<wchar_t, 64> buffer{};
    const std::wstring_view name = ClassOf(window, buffer);
    return name == L"Shell_TrayWnd" || name == L"Shell_SecondaryTrayWnd" ||
           name == L"NotifyIconOverflowWindow";
}

HWND WindowToReturnTo(HWND before, HWND own) {
    if (!before || before == own || !::IsWindow(before))
        return nullptr;
    if (!IsTaskbarWindow(before))
        return ::IsWindowVisible(before) ? before : nullptr;
    // Bounded: a Z order changing under the walk must not keep it going.
    HWND window = ::GetTopWindow(nullptr);
    for (int step = 0; window && step < 4096; ++step) {
        if (UsableWindow(window, own))
            return window;
        window = ::GetWindow(window, GW_HWNDNEXT);
    }
    return nullptr;
}

} // namespace nestora::desktop
