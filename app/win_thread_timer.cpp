#include "app/win_thread_timer.h"

#include <map>

namespace nestora::app {

namespace {

// A thread timer's procedure gets no context of its own: the running timers by their ids.
// One thread (the user interface's) uses them.
std::map<UINT_PTR, ThreadTimer*>& RunningTimers() {
    static std::map<UINT_PTR, ThreadTimer*> timers;
    return timers;
}

} // namespace

ThreadTimer::~ThreadTimer() {
    Stop();
}

void ThreadTimer::Start(unsigned intervalMs, std::function<void()> tick) {
    Stop();
    id_ = ::SetTimer(nullptr, 0, intervalMs, &ThreadTimer::Tick);
    if (id_ == 0)
        return; // no timer to be had: nothing runs, as after a Stop
    tick_ = std::move(tick);
    RunningTimers()[id_] = this;
}

void ThreadTimer::Stop() {
    if (id_ == 0)
        return;
    ::KillTimer(nullptr, id_);
    RunningTimers().erase(id_);
    id_ = 0;
    tick_ = nullptr;
}

void CALLBACK ThreadTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = RunningTimers().find(id);
    if (found == RunningTimers().end())
        return; // a tick already queued when the timer was stopped
    // The tick may stop or restart its own timer: it runs from a copy.
    const std::function<void()> tick = found->second->tick_;
    try {
        if (tick)
            tick();
    } catch (...) {
        // Nothing crosses the system's callback; a failed retry is as good as one not made.
    }
}

} // namespace nestora::app
