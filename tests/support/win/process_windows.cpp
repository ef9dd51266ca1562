#include "tests/support/win/process_windows.h"

#include <algorithm>

namespace nestora::testing {

namespace {

struct Search {
    WindowQuery query;
    std::vector<HWND> found;
};

// A named callback: 32-bit Windows calls it with the stdcall convention, which a lambda
// does not convert to.
BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM data) {
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

std::vector<HWND> ProcessWindows(const WindowQuery& query) {
    Search search{query, {}};
    if (query.processId != 0 && query.className)
        ::EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProcessWindow(const WindowQuery& query) {
    const std::vector<HWND> found = ProcessWindows(query);
    return found.empty() ? nullptr : found.front();
}

std::wstring MessageBoxText(HWND box) {
    const HWND label = ::GetDlgItem(box, 0xFFFF);
    if (!label)
        return {};
    // Asked with a time limit: a program that hangs must not hang the test that reads it.
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(label, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    return std::wstring(text, std::min<std::size_t>(length, 511));
}

void PressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace nestora::testing
