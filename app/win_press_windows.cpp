#include "app/win_press_windows.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace nestora::app {

namespace {

struct MinimisedCount {
    HWND excluded;
    int count = 0;
};

BOOL CALLBACK countMinimised(HWND window, LPARAM data) {
    auto& state = *reinterpret_cast<MinimisedCount*>(data);
    if (window != state.excluded && ::IsIconic(window))
        ++state.count;
    return TRUE;
}

// The window with this id. Window handles have 32 significant bits; a 64-bit handle is
// the 32-bit one sign-extended.
HWND windowFrom(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}

bool hasClass(HWND window, std::wstring_view className) {
    std::array<wchar_t, 64> buffer{};
    const int length = ::GetClassNameW(window, buffer.data(), static_cast<int>(buffer.size()));
    return length > 0 &&
           std::wstring_view(buffer.data(), static_cast<std::size_t>(length)) == className;
}

} // namespace

WindowId windowIdOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

int SystemPressWindows::minimisedWindowCount() {
    // EnumWindows rather than a GetWindow walk: a walk can loop or stop short when windows
    // come and go during it.
    MinimisedCount state{applicationWindow_};
    ::EnumWindows(countMinimised, reinterpret_cast<LPARAM>(&state));
    return state.count;
}

WindowId SystemPressWindows::foregroundWindow() {
    return windowIdOf(::GetForegroundWindow());
}

bool SystemPressWindows::isDesktop(WindowId id) {
    const HWND window = windowFrom(id);
    if (!window)
        return false;
    if (window == ::FindWindowW(L"Progman", nullptr))
        return true;
    return hasClass(window, L"WorkerW") &&
           ::FindWindowExW(window, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr;
}

WindowId SystemPressWindows::activeTab(WindowId frame) {
    const HWND window = windowFrom(frame);
    if (!window)
        return 0;
    HWND tab = ::FindWindowExW(window, nullptr, L"ShellTabWindowClass", nullptr);
    if (!tab)
        tab = ::FindWindowExW(window, nullptr, L"TabWindowClass", nullptr);
    return windowIdOf(tab);
}

} // namespace nestora::app
