// Waiting with a deadline in a test that drives other programs. The waiting thread goes
// on handling its own messages, so windows the test made (a stand-in tray, say) keep
// answering the programs that send to them meanwhile.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace nestora::testing {

using namespace std::chrono_literals;

// True as soon as done() holds; false when the time is up first. done() is asked at once
// and then about every 20 ms.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);

// Handles this thread's messages for the given time.
void PumpFor(std::chrono::milliseconds time);

} // namespace nestora::testing
