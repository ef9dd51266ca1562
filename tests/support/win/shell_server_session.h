// The stand-in shell server (tests/support/shell_server) as a test uses it: registered as
// the local server of "Shell.Application" and of the shell's window collection for the
// owner's life, started with the windows asked for, its call record read back, and ended.
//
// The registration replaces the classes' in-process servers (the system's shell32 and
// ieframe) with a LocalServer32 naming the server, so a program that creates either class
// gets the server's objects across processes; what was there is put back when the owner
// goes. Only the test run's own Wine prefix is ever changed.
#pragma once

#include "tests/support/core/shell_server_options.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/registry_values.h"

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace nestora::testing {

// One class's server keys below root\CLSID\{class}, replaced for the owner's life. What
// was there is also copied to root\Software\NestoraTests\ShellServerBackup\{class} until
// it is put back, so a run that was killed (and never put it back) is mended by the next.
class LocalServerRegistration {
public:
    LocalServerRegistration(HKEY root, std::wstring classesKey, const std::wstring& classId,
                            const std::wstring& commandLine);
    ~LocalServerRegistration();
    LocalServerRegistration(const LocalServerRegistration&) = delete;
    LocalServerRegistration& operator=(const LocalServerRegistration&) = delete;

    bool Done() const { return done_; }

private:
    struct SavedKey {
        std::wstring path;
        bool existed = false;
        std::vector<std::pair<std::wstring, RegistryValue>> values;
    };
    static SavedKey Save(HKEY root, std::wstring path);
    void Restore(const SavedKey& key) const;
    void Backup(const SavedKey& key) const;
    SavedKey FromBackup(const std::wstring& name, std::wstring path) const;

    HKEY root_;
    std::wstring backup_;
    SavedKey inprocServer_;
    SavedKey localServer_;
    bool done_ = false;
};

class ShellServerSession {
public:
    // Registers the server and starts it with these options (the record goes to a file of
    // the session's own); waits until it is ready. Ready() tells whether it came up.
    ShellServerSession(const std::wstring& serverExe, ServerOptions options);
    ~ShellServerSession();
    ShellServerSession(const ShellServerSession&) = delete;
    ShellServerSession& operator=(const ShellServerSession&) = delete;

    bool Ready() const { return ready_; }
    // Every line of the record so far.
    std::vector<std::wstring> Lines() const;
    // The calls recorded so far (the lines that are calls), in order.
    std::vector<RecordedCall> Calls() const;
    // The late-bound calls recorded so far, as "WHO MEMBER" texts, in order.
    std::vector<std::wstring> Invokes() const;
    // The windows the server made: window i's frame and its tabs' windows (for a window
    // without tabs, the frame), the stand-in desktop, the window it brought to the front.
    HWND Frame(std::size_t window) const;
    HWND Tab(std::size_t window, std::size_t tab) const;
    HWND Desktop() const;
    HWND Front() const;
    // Closes the server and waits for it to end; false when it didn't (it is ended then).
    bool End(std::chrono::milliseconds limit = std::chrono::seconds(10));
    ChildProcess& Process() { return *process_; }

private:
    std::vector<HWND> WindowLine(const std::wstring& first, const std::wstring& second) const;

    std::wstring record_;
    std::vector<std::unique_ptr<LocalServerRegistration>> registrations_;
    std::unique_ptr<ChildProcess> process_;
    bool ready_ = false;
};

} // namespace nestora::testing
