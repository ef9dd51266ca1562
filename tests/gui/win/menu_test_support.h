#pragma once
// Helpers for tests that open real menus: opening one is modal, so a test posts keys before
// it opens or runs steps from a thread timer while it is open.

#include "gui/win/graphics_win32.h"

#include <deque>
#include <functional>

namespace nestora::gui::testing {

inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

inline void PostKey(HWND window, WPARAM key) {
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

inline HWND OpenMenuWindow() {
    HWND found = ::FindWindowW(L"#32768", nullptr);
    return found && ::IsWindowVisible(found) ? found : nullptr;
}

// Steps run one per timer tick from inside whatever loop is running (the menu's).
class Steps {
public:
    explicit Steps(std::deque<std::function<void()>> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 60, &Steps::Tick);
    }
    ~Steps() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;
    bool Done() const { return steps_.empty(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!current_ || current_->steps_.empty())
            return;
        auto step = std::move(current_->steps_.front());
        current_->steps_.pop_front();
        step();
    }
    static inline Steps* current_ = nullptr;
    std::deque<std::function<void()>> steps_;
    UINT_PTR timer_ = 0;
};

} // namespace nestora::gui::testing
