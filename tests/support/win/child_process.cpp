#include "tests/support/win/child_process.h"

#include "tests/support/win/process_windows.h"

namespace nestora::testing {

ChildProcess::ChildProcess(const std::wstring& exe, const StartOptions& options) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;
    Start(exe.c_str(), std::move(commandLine), options);
}

ChildProcess ChildProcess::FromCommandLine(std::wstring commandLine, const StartOptions& options) {
    ChildProcess child;
    child.Start(nullptr, std::move(commandLine), options);
    return child;
}

ChildProcess ChildProcess::Adopt(DWORD processId) {
    ChildProcess child;
    child.process_.reset(::OpenProcess(
        SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId));
    child.id_ = processId;
    return child;
}

void ChildProcess::Start(const wchar_t* exe, std::wstring commandLine,
                         const StartOptions& options) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const DWORD flags = options.suspended ? CREATE_SUSPENDED : 0;
    if (!::CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          &startup, &info))
        return;
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_ && Running())
        Kill();
}

bool ChildProcess::Resume() {
    return thread_ && ::ResumeThread(thread_.get()) != static_cast<DWORD>(-1);
}

bool ChildProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::ExitCode(std::chrono::milliseconds wait) const {
    if (!process_)
        return std::nullopt;
    if (!WaitFor([this] { return !Running(); }, wait))
        return std::nullopt;
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_.get(), &code))
        return std::nullopt;
    return code;
}

bool ChildProcess::Kill(DWORD code) {
    if (!Running())
        return false;
    ::TerminateProcess(process_.get(), code);
    // Termination is asynchronous: the handles and windows go a moment later.
    ::WaitForSingleObject(process_.get(), 10000);
    return true;
}

bool ChildProcess::WaitUntilIdle(std::chrono::milliseconds limit) const {
    return process_ && ::WaitForInputIdle(process_.get(), static_cast<DWORD>(limit.count())) == 0;
}

HWND ChildProcess::Window(const wchar_t* className, bool visibleOnly) const {
    return ProcessWindow({id_, className, visibleOnly});
}

HWND ChildProcess::WaitForWindow(const wchar_t* className, std::chrono::milliseconds limit) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = Window(className)) != nullptr || !Running(); }, limit);
    return found;
}

} // namespace nestora::testing
