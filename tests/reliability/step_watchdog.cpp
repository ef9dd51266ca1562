#include "step_watchdog.h"

#include "gui/win/handles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace nestora::reliability {

namespace {

// Asked on the test's own thread, where GoogleTest keeps it.
std::string CurrentTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "." + test->name() : "reliability";
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring SafeName(std::string text) {
    for (char& c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            c = '_';
    }
    return Widen(text);
}

} // namespace

bool DumpStacks(DWORD processId, const std::wstring& file) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const gui::UniqueKernelHandle output(::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                       &inherit, CREATE_ALWAYS,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output || output.get() == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    // Attached to the process, "bt all" prints the stack of every thread of every process
    // of the prefix (the test program and the stand-in tray's thread included, either of
    // which may be the other side of a hang), and winedbg detaches when it is done.
    std::wstring command =
        L"winedbg --command \"bt all\" " + std::to_wstring(static_cast<unsigned long>(processId));
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &started))
        return false;
    const gui::UniqueKernelHandle process(started.hProcess);
    const gui::UniqueKernelHandle thread(started.hThread);
    if (::WaitForSingleObject(process.get(), 60000) == WAIT_TIMEOUT)
        ::TerminateProcess(process.get(), 1);
    return true;
}

StepWatchdog::StepWatchdog(DWORD processId) : processId_(processId), thread_([this] { Watch(); }) {}

StepWatchdog::~StepWatchdog() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void StepWatchdog::Step(std::string name, std::chrono::milliseconds deadline) {
    {
        const std::lock_guard lock(mutex_);
        step_ = CurrentTestName() + "-" + name;
        deadline_ = std::chrono::steady_clock::now() + deadline;
    }
    changed_.notify_all();
}

void StepWatchdog::Done() {
    {
        const std::lock_guard lock(mutex_);
        deadline_ = std::chrono::steady_clock::time_point::max();
    }
    changed_.notify_all();
}

std::vector<std::wstring> StepWatchdog::Dumps() const {
    const std::lock_guard lock(mutex_);
    return dumps_;
}

void StepWatchdog::Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const auto deadline = deadline_;
        if (deadline == std::chrono::steady_clock::time_point::max()) {
            changed_.wait(lock);
            continue;
        }
        if (changed_.wait_until(lock, deadline) != std::cv_status::timeout)
            continue;
        if (stopping_ || deadline_ != deadline)
            continue; // a new step (or the end) came in time
        const std::string step = step_;
        deadline_ = std::chrono::steady_clock::time_point::max(); // one dump per step
        lock.unlock();
        std::filesystem::create_directories("test-results");
        std::vector<std::wstring> written;
        const std::wstring file = L"test-results\\stacks-" + SafeName(step) + L"-" +
                                  std::to_wstring(processId_) + L".txt";
        if (DumpStacks(processId_, file))
            written.push_back(std::filesystem::absolute(file).wstring());
        std::fprintf(stderr, "[ WATCHDOG ] step \"%s\" passed its deadline; %s\n", step.c_str(),
                     written.empty() ? "winedbg could not be started" : "stacks in test-results");
        lock.lock();
        dumps_.insert(dumps_.end(), written.begin(), written.end());
    }
}

} // namespace nestora::reliability
