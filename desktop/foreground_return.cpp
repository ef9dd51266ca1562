#include "desktop/foreground_return.h"

#include <dwmapi.h>

#include <array>
#include <string>
#include <string_view>

namespace nestora::desktop {

namespace {

std::wstring_view ClassOf(HWND window, std::array<wchar_t, 64>& buffer) {
    const int length = ::GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
}

// Windows 10 keeps suspended store apps "visible" but cloaked. dwmapi is not one of the
// system's known DLLs, so it is loaded here, late and by its full system path, rather than
// imported at start (a copy beside the program would be loaded instead). It stays loaded
// for the life of the process; Windows 7 has no cloaking and answers with an error.
bool IsCloaked(HWND window) {
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    static const GetAttribute getAttribute = []() -> GetAttribute {
        std::array<wchar_t, MAX_PATH> folder{};
        const UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0 || length >= folder.size())
            return nullptr;
        const std::wstring path = std::wstring(folder.data(), length) + L"\\dwmapi.dll";
        const HMODULE dwmapi = ::LoadLibraryW(path.c_str());
        return dwmapi ? reinterpret_cast<GetAttribute>(
                            reinterpret_cast<void*>(::GetProcAddress(dwmapi, "DwmGetWindowAttribute")))
                      : nullptr;
    }();
    DWORD cloaked = 0;
    return getAttribute &&
           SUCCEEDED(getAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) &&
           cloaked != 0;
}

// A window the user can be working in: shown, not minimised, not a tool window, and not
// cloaked (often in front).
bool UsableWindow(HWND window, HWND own) {
    if (!window || window == own || !::IsWindowVisible(window) || ::IsIconic(window))
        return false;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))
        return false;
    if (::GetWindow(window, GW_OWNER) != nullptr)
        return false;
    if (IsCloaked(window))
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
