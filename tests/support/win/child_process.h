// A program the test starts, owned like any handle: when the owner goes, a copy still
// running is ended (exit code kEndedByTest) and waited for, so a failing test never
// leaves a program behind to disturb the next one.
#pragma once

#include "tests/support/win/waiting.h"

#include "gui/win/handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace nestora::testing {

// The exit code of a program the test ended itself.
inline constexpr DWORD kEndedByTest = 99;

struct StartOptions {
    std::wstring arguments;
    // Made but not yet running: Resume() lets it go (copies started at the same moment).
    bool suspended = false;
};

class ChildProcess {
public:
    // exe: a Windows path (WindowsPathOf gives one for a build path).
    explicit ChildProcess(const std::wstring& exe, const StartOptions& options = {});
    // A whole command line, the program's quoted path first, as the "Apps" list runs an
    // uninstaller (options.arguments is not used).
    static ChildProcess FromCommandLine(std::wstring commandLine, const StartOptions& options = {});
    // A program already running, by its process id, owned from now on like one started.
    static ChildProcess Adopt(DWORD processId);
    ~ChildProcess();
    ChildProcess(ChildProcess&&) noexcept = default;
    // No assignment: the program owned before would have to be ended in passing.
    ChildProcess& operator=(ChildProcess&&) = delete;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }

    // Lets a suspended copy run.
    bool Resume();
    bool Running() const;
    // The exit code once it has ended, waiting up to the given time; nothing if it still runs.
    std::optional<DWORD> ExitCode(std::chrono::milliseconds wait = 10s) const;
    // Ends it at once, as a crash or the task manager would, and waits until it is gone.
    // False when it had ended already.
    bool Kill(DWORD code = kEndedByTest);
    // Waits until its start-up is over and it waits for input; false when it hasn't in time,
    // and at once for a console program (such as the support probe), which has no input.
    bool WaitUntilIdle(std::chrono::milliseconds limit = 10s) const;

    // Its top-level window of the class (any, or only a visible one), or null.
    HWND Window(const wchar_t* className, bool visibleOnly = false) const;
    // Waits until it has such a window; null if it hasn't within the time, or ended.
    HWND WaitForWindow(const wchar_t* className, std::chrono::milliseconds limit = 10s) const;

private:
    ChildProcess() = default;
    void Start(const wchar_t* exe, std::wstring commandLine, const StartOptions& options);

    gui::UniqueKernelHandle process_;
    gui::UniqueKernelHandle thread_;
    DWORD id_ = 0;
};

} // namespace nestora::testing
