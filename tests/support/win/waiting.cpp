#include "tests/support/win/waiting.h"

namespace nestora::testing {

namespace {

void handlePendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Sleeps up to the given time, woken early by a message for this thread.
void idle(std::chrono::milliseconds time) {
    const auto ms = static_cast<DWORD>(time.count() < 0 ? 0 : time.count());
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    handlePendingMessages();
}

} // namespace

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        handlePendingMessages();
        if (done())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= end)
            return false;
        idle(std::min<std::chrono::milliseconds>(
            20ms, std::chrono::duration_cast<std::chrono::milliseconds>(end - now)));
    }
}

void pumpFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now())
        idle(std::chrono::duration_cast<std::chrono::milliseconds>(end - now));
}

} // namespace nestora::testing
