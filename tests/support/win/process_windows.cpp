#include "tests/support/win/process_windows.h"

namespace nestora::testing {

namespace {

struct Search {
    WindowQuery query;
    std::vector<HWND> found;
};

// A named callback: 32-bit Windows calls it with the stdcall convention, which a lambda
// does not convert to.
BOOL CALLBACK collectProcessWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.query.processId)
        return TRUE;
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, search.query.className) != 0)
        return TRUE;
    if (search.query.visibleOnly && !::IsWindowVisible(window))
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> processWindows(const WindowQuery& query) {
    Search search{query, {}};
    if (query.processId != 0 && query.className)
        ::EnumWindows(collectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND processWindow(const WindowQuery& query) {
    const std::vector<HWND> found = processWindows(query);
    return found.empty() ? nullptr : found.front();
}

std::wstring messageBoxText(HWND box) {
    wchar_t text[512] = {};
    const UINT length = ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    return std::wstring(text, length);
}

void pressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace nestora::testing
