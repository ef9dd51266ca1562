#include "tests/support/win/shell_server_session.h"

#include "tests/support/win/waiting.h"

#include "gui/core/utf.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace nestora::testing {

namespace {

// CLSID_Shell ("Shell.Application") and CLSID_ShellWindows.
constexpr wchar_t kShellApplicationClass[] = L"{13709620-C279-11CE-A49E-444553540000}";
constexpr wchar_t kShellWindowsClass[] = L"{9BA05972-F6A8-11CF-A442-00A0C90A8F39}";
// A per-user LocalServer32 leaves the machine's InprocServer32 in force (under Wine 8 the
// in-process shell32 object still answers), so the test prefix's machine key is replaced.
constexpr wchar_t kClassesKey[] = L"Software\\Classes";

std::wstring UniqueRecordPath() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    static int serial = 0;
    return std::wstring(folder) + L"nestora-shell-server-" +
           std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".txt";
}

HWND HandleFrom(const std::wstring& text) {
    const auto value = std::wcstoull(text.c_str(), nullptr, 16);
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

std::vector<std::wstring> Words(const std::wstring& line) {
    std::wistringstream stream(line);
    std::vector<std::wstring> words;
    for (std::wstring word; stream >> word;)
        words.push_back(word);
    return words;
}

} // namespace

LocalServerRegistration::LocalServerRegistration(HKEY root, std::wstring classesKey,
                                                 const std::wstring& classId,
                                                 const std::wstring& commandLine)
    : root_(root), backup_(L"Software\\NestoraTests\\ShellServerBackup\\" + classId) {
    const std::wstring classKey = classesKey + L"\\CLSID\\" + classId;
    if (KeyExists(root, backup_.c_str())) {
        // An earlier run was ended before it put the keys back.
        Restore(FromBackup(L"InprocServer32", classKey + L"\\InprocServer32"));
        Restore(FromBackup(L"LocalServer32", classKey + L"\\LocalServer32"));
    }
    inprocServer_ = Save(root, classKey + L"\\InprocServer32");
    localServer_ = Save(root, classKey + L"\\LocalServer32");
    DeleteKey(root, backup_.c_str());
    Backup(inprocServer_);
    Backup(localServer_);
    done_ = DeleteKey(root, inprocServer_.path.c_str()) &&
            WriteText(root, localServer_.path.c_str(), L"", commandLine);
}

LocalServerRegistration::~LocalServerRegistration() {
    Restore(localServer_);
    Restore(inprocServer_);
    DeleteKey(root_, backup_.c_str());
}

void LocalServerRegistration::Backup(const SavedKey& key) const {
    const std::wstring name = key.path.substr(key.path.find_last_of(L'\\') + 1);
    const std::wstring copy = backup_ + L"\\" + name;
    if (!key.existed)
        return;
    HKEY made = nullptr;
    if (::RegCreateKeyExW(root_, copy.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr) ==
        ERROR_SUCCESS)
        ::RegCloseKey(made);
    for (const auto& [valueName, value] : key.values)
        WriteValue(root_, copy.c_str(), valueName.c_str(), value);
}

LocalServerRegistration::SavedKey LocalServerRegistration::FromBackup(const std::wstring& name,
                                                                      std::wstring path) const {
    SavedKey key = Save(root_, backup_ + L"\\" + name);
    key.path = std::move(path);
    return key;
}

LocalServerRegistration::SavedKey LocalServerRegistration::Save(HKEY root, std::wstring path) {
    SavedKey key;
    key.existed = KeyExists(root, path.c_str());
    key.values = ValuesOf(root, path.c_str());
    key.path = std::move(path);
    return key;
}

void LocalServerRegistration::Restore(const SavedKey& key) const {
    DeleteKey(root_, key.path.c_str());
    if (!key.existed)
        return;
    HKEY made = nullptr;
    if (::RegCreateKeyExW(root_, key.path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made,
                          nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(made);
    for (const auto& [name, value] : key.values)
        WriteValue(root_, key.path.c_str(), name.c_str(), value);
}

ShellServerSession::ShellServerSession(const std::wstring& serverExe, ServerOptions options) {
    record_ = UniqueRecordPath();
    options.record = record_;
    const std::wstring commandLine = L"\"" + serverExe + L"\"";
    for (const wchar_t* classId : {kShellApplicationClass, kShellWindowsClass})
        registrations_.push_back(std::make_unique<LocalServerRegistration>(
            HKEY_LOCAL_MACHINE, kClassesKey, classId, commandLine));
    for (const auto& registration : registrations_) {
        if (!registration->Done())
            return;
    }
    process_ = std::make_unique<ChildProcess>(serverExe, StartOptions{ServerArguments(options)});
    if (!process_->Started())
        return;
    ready_ = WaitFor([&] {
        const auto lines = Lines();
        return !process_->Running() ||
               std::find(lines.begin(), lines.end(), L"ready") != lines.end();
    });
    ready_ = ready_ && process_->Running();
}

ShellServerSession::~ShellServerSession() {
    End();
    std::error_code ignored;
    std::filesystem::remove(record_, ignored);
}

std::vector<std::wstring> ShellServerSession::Lines() const {
    std::ifstream file(std::filesystem::path(record_), std::ios::binary);
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(gui::Utf8ToWide(line));
    return lines;
}

std::vector<RecordedCall> ShellServerSession::Calls() const {
    std::vector<RecordedCall> calls;
    for (const std::wstring& line : Lines()) {
        if (auto call = ParseRecordedCall(line))
            calls.push_back(std::move(*call));
    }
    return calls;
}

std::vector<std::wstring> ShellServerSession::Invokes() const {
    std::vector<std::wstring> invokes;
    for (const RecordedCall& call : Calls()) {
        if (call.kind == L"invoke")
            invokes.push_back(call.who + L" " + call.member);
    }
    return invokes;
}

std::vector<HWND> ShellServerSession::WindowLine(const std::wstring& first,
                                                 const std::wstring& second) const {
    for (const std::wstring& line : Lines()) {
        const auto words = Words(line);
        if (words.size() < 2 || words[0] != first || (!second.empty() && words[1] != second))
            continue;
        std::vector<HWND> windows;
        for (std::size_t i = second.empty() ? 1 : 2; i < words.size(); ++i)
            windows.push_back(HandleFrom(words[i]));
        return windows;
    }
    return {};
}

HWND ShellServerSession::Frame(std::size_t window) const {
    const auto windows = WindowLine(L"window", std::to_wstring(window));
    return windows.empty() ? nullptr : windows[0];
}

HWND ShellServerSession::Tab(std::size_t window, std::size_t tab) const {
    const auto windows = WindowLine(L"window", std::to_wstring(window));
    return tab + 1 < windows.size() ? windows[tab + 1] : nullptr;
}

HWND ShellServerSession::Desktop() const {
    const auto windows = WindowLine(L"desktop", {});
    return windows.empty() ? nullptr : windows[0];
}

HWND ShellServerSession::Front() const {
    const auto windows = WindowLine(L"front", {});
    return windows.empty() ? nullptr : windows[0];
}

bool ShellServerSession::End(std::chrono::milliseconds limit) {
    if (!process_ || !process_->Running())
        return true;
    if (const HWND control = process_->Window(L"NestoraShellServer"))
        ::PostMessageW(control, WM_CLOSE, 0, 0);
    if (process_->ExitCode(limit))
        return true;
    process_->Kill();
    return false;
}

} // namespace nestora::testing
