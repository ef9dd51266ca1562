#include "tests/support/win/menu_probe.h"

namespace nestora::testing {

namespace {

void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ++OpenMenuProbe::runs;
    if (const HWND menu = ::FindWindowW(L"#32768", nullptr))
        ::GetWindowRect(menu, &OpenMenuProbe::seen);
    ::EndMenu();
}

} // namespace

void OpenMenuProbe::Arm() {
    seen = RECT{-1, -1, -1, -1};
    runs = 0;
    ::SetTimer(nullptr, 0, 50, &CloseOpenMenu);
}

} // namespace nestora::testing
