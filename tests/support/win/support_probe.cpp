// support_probe: a stand-in program for the support library's own tests.
//
//   support_probe exit N      ends at once with exit code N
//   support_probe window      makes a hidden top-level window of class
//                             "NestoraSupportProbe" and waits for messages until closed
//   support_probe box TEXT    shows a message box with TEXT; exit code 0 after OK
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int RunWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NestoraSupportProbe";
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"probe", WS_POPUP, 0, 0,
                                          10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window)
        return 2;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv);
int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 3;
    const std::wstring mode = argv[1];
    if (mode == L"exit" && argc > 2)
        return static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    if (mode == L"window")
        return RunWindow();
    if (mode == L"box" && argc > 2)
        return ::MessageBoxW(nullptr, argv[2], L"probe", MB_OK) == IDOK ? 0 : 4;
    return 3;
}
