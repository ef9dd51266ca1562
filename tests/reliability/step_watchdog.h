// A deadline on each step of a process program. When a step outlives its deadline, winedbg
// attaches to the program under test and writes the stacks of every thread of every
// ProcessHandle (the test itself included: it may be the one stuck) to
// test-results/stacks-<test>-<step>-<pid>.txt in the build folder, beside the results,
// before the step's own time limit fails it or ctest ends the program. A hang then leaves
// its cause behind instead of only a time-out.
//
// The watchdog only looks: it never ends a process or fails a test itself.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nestora::reliability {

class StepWatchdog {
public:
    // processId: the program whose stacks are wanted.
    explicit StepWatchdog(DWORD processId);
    ~StepWatchdog();
    StepWatchdog(const StepWatchdog&) = delete;
    StepWatchdog& operator=(const StepWatchdog&) = delete;

    // Starts a step (ending the one before) that must be over within the deadline; the dump
    // files are named by the current test and the step. Called on the test's thread.
    void Step(std::string name, std::chrono::milliseconds deadline);
    // The current step is over in time.
    void Done();
    // The dump files written so far.
    std::vector<std::wstring> Dumps() const;

private:
    void Watch();

    DWORD processId_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string step_;
    std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
    bool stopping_ = false;
    std::vector<std::wstring> dumps_;
    std::thread thread_;
};

// Runs winedbg against the process and writes every thread's backtrace to the file; false
// when winedbg could not be started. Waits up to a minute for it.
bool DumpStacks(DWORD processId, const std::wstring& file);

} // namespace nestora::reliability
