#include "bench/process_watch.h"

namespace nestora::bench {

TrayWindow::TrayWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window_)
        return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TrayWindow::~TrayWindow() {
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool TrayWindow::first() const {
    return window_ && ::FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) == window_;
}

void TrayWindow::Watch(DWORD processId) {
    processId_ = processId;
    added_ = false;
}

LRESULT CALLBACK TrayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA)
        return ::DefWindowProcW(window, message, wParam, lParam);
    auto* self = reinterpret_cast<TrayWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    DWORD sender = 0;
    ::GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), &sender);
    if (self && !self->added_ && sender != 0 && sender == self->processId_) {
        self->added_ = true;
        self->addedAt_ = std::chrono::steady_clock::now();
    }
    return TRUE;
}

double PrivateBytesOf(HANDLE process) {
    double total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<char*>(nullptr);
         ::VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<double>(region.RegionSize);
    }
    return total;
}

void MessageTally::Add(UINT message) {
    const std::lock_guard lock(mutex_);
    ++counts_[message];
}

MessageTally::Counts MessageTally::Snapshot() {
    const std::lock_guard lock(mutex_);
    return counts_;
}

MessageTally*& ThreadMessageHooks::Current() {
    static MessageTally* current = nullptr;
    return current;
}

ThreadMessageHooks::ThreadMessageHooks(MessageTally& tally) {
    Current() = &tally;
    posted_ = ::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
    sent_ = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProcHook, nullptr, ::GetCurrentThreadId());
}

ThreadMessageHooks::~ThreadMessageHooks() {
    if (sent_)
        ::UnhookWindowsHookEx(sent_);
    if (posted_)
        ::UnhookWindowsHookEx(posted_);
    Current() = nullptr;
}

LRESULT CALLBACK ThreadMessageHooks::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && Current())
        Current()->Add(reinterpret_cast<const MSG*>(lParam)->message);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ThreadMessageHooks::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && Current())
        Current()->Add(reinterpret_cast<const CWPSTRUCT*>(lParam)->message);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace nestora::bench
