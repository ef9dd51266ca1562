// A RetryTimer (folder_rename.h) on the calling thread's message loop: a thread timer
// (SetTimer without a window) whose ticks arrive as WM_TIMER between the other messages,
// whatever loop dispatches them (the program's own, a menu's, a message box's).
#pragma once

#include "app/folder_rename.h"

#include <windows.h>

namespace nestora::app {

class ThreadTimer final : public RetryTimer {
public:
    ThreadTimer() = default;
    ~ThreadTimer() override;
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

    void Start(unsigned intervalMs, std::function<void()> tick) override;
    void Stop() override;
    bool Running() const { return id_ != 0; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

    UINT_PTR id_ = 0;
    std::function<void()> tick_;
};

} // namespace nestora::app
