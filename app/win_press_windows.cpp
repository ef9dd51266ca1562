#include "app/win_press_windows.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace nestora::app {

namespace {

// The window with this id. Window handles have 32 significant bits; a 64-bit handle is
// the 32-bit one sign-extended.
HWND WindowFrom(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}

bool HasClass(HWND window, std::wstring_view className) {
    std::array<wchar_t, 64> buffer{};
    const int length = ::GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size()));
    return length > 0 &&
           std::wstring_view(buffer.data(), static_cast<std::size_t>(length)) == className;
}

} // namespace

WindowId WindowIdOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

bool SystemPressWindows::IsMinimised(WindowId id) {
    const HWND window = WindowFrom(id);
    return window && ::IsIconic(window);
}

WindowId SystemPressWindows::ForegroundWindow() {
    return WindowIdOf(::GetForegroundWindow());
}

bool SystemPressWindows::IsDesktop(WindowId id) {
    const HWND window = WindowFrom(id);
    if (!window)
        return false;
    if (window == ::FindWindowW(L"Progman", nullptr))
        return true;
    return HasClass(window, L"WorkerW") &&
           ::FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr;
}

WindowId SystemPressWindows::ActiveTab(WindowId frame) {
    const HWND window = WindowFrom(frame);
    if (!window)
        return 0;
    HWND tab = ::FindWindowExW(window, nullptr, L"ShellTabWindowClass", nullptr);
    if (!tab)
        tab = ::FindWindowExW(window, nullptr, L"TabWindowClass", nullptr);
    return WindowIdOf(tab);
}

} // namespace nestora::app
