// The stand-in shell server: a separate program that the Explorer tests register, in their
// own Wine prefix, as the local server of "Shell.Application" and of the shell's window
// collection, so that the unchanged nestora.exe reaches its windows across processes as it
// reaches Explorer's. Never installed, never shipped.
//
// It opens the windows its command line asks for (shell_server_options.h), registers its
// class objects, brings the asked-for window to the front and writes "ready" to its record;
// then it answers calls until its control window ("NestoraShellServer") is closed.
// Exit codes: 0 after a close, 2 for a command line it can't read, 3 when COM or a window
// fails it at start, 4 when COM started it (it ends at once: only a test starts it).
#include "tests/support/core/shell_server_options.h"
#include "tests/support/shell_server/call_record.h"
#include "tests/support/shell_server/explorer_windows.h"
#include "tests/support/shell_server/shell_objects.h"

#include <windows.h>

#include <exdisp.h>
#include <objbase.h>
#include <shellapi.h>
#include <shldisp.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace nestora::testing;

namespace {

std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(raw[i]);
    ::LocalFree(raw);
    return arguments;
}

// Started by COM itself ("-Embedding"): nobody asked for windows, and a server that stayed
// would answer in place of every later one (the first registered class object wins).
bool StartedByCom(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments) {
        if (::lstrcmpiW(argument.c_str(), L"-Embedding") == 0 ||
            ::lstrcmpiW(argument.c_str(), L"/Embedding") == 0)
            return true;
    }
    return false;
}

std::wstring HandleText(HWND window) {
    wchar_t text[32];
    std::swprintf(text, 32, L"0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
}

LRESULT CALLBACK ControlProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, w, l);
}

HWND MakeControlWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ControlProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NestoraShellServer";
    ::RegisterClassExW(&windowClass);
    return ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, windowClass.hInstance, nullptr);
}

// Writes where the windows are, for the tests: "window I FRAME TAB...", "selected I COUNT"
// (the items selected in its active tab's view) and "desktop FRAME".
void RecordWindows(const ShellServerState& state, CallRecord& record) {
    for (std::size_t i = 0; i < state.windows.size(); ++i) {
        std::wstring line =
            L"window " + std::to_wstring(i) + L" " + HandleText(state.windows[i]->Frame());
        for (const ExplorerTab& tab : state.windows[i]->Tabs())
            line += L" " + HandleText(tab.window) + (tab.browser ? L"" : L"!nobrowser");
        record.Line(line);
        record.Line(L"selected " + std::to_wstring(i) + L" " +
                    std::to_wstring(state.windows[i]->SelectedCount()));
    }
    if (state.desktop)
        record.Line(L"desktop " + HandleText(state.desktop->Frame()));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::wstring> arguments = Arguments();
    if (StartedByCom(arguments))
        return 4;
    const auto options = ParseServerOptions(arguments);
    if (!options)
        return 2;
    CallRecord record(options->record);
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 3;
    ShellServerState state{record, {}, {}, options->endAfterCount};
    if (!options->desktop.empty()) {
        ServerWindowOptions desktop{{options->desktop}};
        state.desktop = std::make_unique<ExplorerWindow>(
            desktop, L"Progman",
            RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    }
    for (std::size_t i = 0; i < options->windows.size(); ++i) {
        const int offset = 40 * static_cast<int>(i);
        state.windows.push_back(std::make_unique<ExplorerWindow>(
            options->windows[i], L"CabinetWClass",
            RECT{60 + offset, 40 + offset, 660 + offset, 480 + offset}));
    }
    const HWND control = MakeControlWindow();
    if (!control)
        return 3;

    DWORD applicationCookie = 0;
    DWORD windowsCookie = 0;
    if (FAILED(::CoRegisterClassObject(CLSID_Shell, ShellApplicationFactory(state).Get(),
                                       CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &applicationCookie)) ||
        FAILED(::CoRegisterClassObject(CLSID_ShellWindows, ShellWindowsFactory(state).Get(),
                                       CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &windowsCookie))) {
        record.Line(L"error registering the class objects");
        return 3;
    }

    HWND front = nullptr;
    if (options->desktopInFront && state.desktop)
        front = state.desktop->Frame();
    else if (options->front)
        front = state.windows[*options->front]->Frame();
    else if (!state.windows.empty())
        front = state.windows.back()->Frame();
    if (front) {
        ::SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetForegroundWindow(front);
    }
    // A window in front with items selected shows them as a user who selected them sees
    // them: in its focused view.
    for (std::size_t i = 0; i < state.windows.size(); ++i) {
        if (state.windows[i]->Frame() == front && !options->windows[i].selected.empty())
            state.windows[i]->FocusView();
    }
    RecordWindows(state, record);
    record.Line(L"front " + HandleText(front));
    record.Line(L"ready");

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::CoRevokeClassObject(applicationCookie);
    ::CoRevokeClassObject(windowsCookie);
    state.windows.clear();
    state.desktop.reset();
    ::DestroyWindow(control);
    record.Line(L"ended");
    return 0;
}
