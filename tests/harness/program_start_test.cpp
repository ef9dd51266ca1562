// The harness end to end: the real nestora.exe, started from the build folder under the test
// runner's Windows, makes its main window (hidden: the program lives in the notification
// area) and ends cleanly when that window is asked to close.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindTopLevelOf(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[32] = {};
    GetClassNameW(hwnd, className, 32);
    if (pid == search->processId && lstrcmpW(className, L"TForm1") == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        WindowSearch search{processId, nullptr};
        EnumWindows(FindTopLevelOf, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(50);
    }
    return nullptr;
}

TEST(ProgramStart, MakesItsMainWindowAndClosesCleanly) {
    std::wstring command = L"app\\" NESTORA_EXE_NAME_W;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi))
        << "CreateProcess failed, error " << GetLastError();
    CloseHandle(pi.hThread);

    HWND window = WaitForMainWindow(pi.dwProcessId, 15000);
    if (!window)
        TerminateProcess(pi.hProcess, 99);
    ASSERT_NE(window, nullptr) << "nestora.exe made no main window";
    EXPECT_FALSE(IsWindowVisible(window)) << "the program should start hidden";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    DWORD exitCode = 12345;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(pi.hProcess);
}

} // namespace
