#include "tests/support/win/waiting.h"

namespace nestora::testing {

namespace {

void HandlePendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Sleeps up to the given time, woken early by a message for this thread.
void Idle(std::chrono::milliseconds time) {
    const auto ms = static_cast<DWORD>(time.count() < 0 ? 0 : time.count());
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    HandlePendingMessages();
}

} // namespace

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        HandlePendingMessages();
        if (done())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= end)
            return false;
        Idle(std::min<std::chrono::milliseconds>(
            20ms, std::chrono::duration_cast<std::chrono::milliseconds>(end - now)));
    }
}

void PumpFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now())
        Idle(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
}

} // namespace nestora::testing
