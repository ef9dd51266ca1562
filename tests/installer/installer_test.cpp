// The installer as a user meets it, under Wine: a silent install into the user's own
// programs folder, the program started from there, the entries in the Start menu and in
// the "Apps" list, silent uninstalls (also while Nestora runs) that leave nothing of the
// installation behind but keep what is not theirs, and an update over a running copy.
//
// The installer is the one made from this build's nestora.exe. Everything happens in the
// test run's own Wine prefix; every test begins and ends by clearing the installation's
// traces by hand, so one failure does not spill into the next test.
#include "gui/win/handles.h"

#include "tests/support/core/windows_path.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace support = nestora::testing;
using namespace std::chrono_literals;
using support::ChildProcess;
using support::kSettingsKey;
using support::WaitFor;
using support::WindowsPathOf;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nestora";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"nestora.exe";
constexpr wchar_t kMainWindowClass[] = L"TForm1";
// How long an installer, an uninstaller or a closing Nestora may take, and a step of theirs
// seen from outside: generous, as Wine starts slowly on a busy machine.
constexpr auto kProgramTime = 60s;
constexpr auto kStepTime = 30s;

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    ::CoTaskMemFree(path);
    return result;
}

std::wstring InstallDir() {
    return KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Nestora";
}
std::wstring InstalledExe() {
    return InstallDir() + L"\\nestora.exe";
}
std::wstring ShortcutPath() {
    return KnownFolder(FOLDERID_Programs) + L"\\Nestora.lnk";
}

std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* name) {
    return support::ReadText(HKEY_CURRENT_USER, key, name);
}

std::optional<DWORD> RegistryNumber(const wchar_t* key, const wchar_t* name) {
    return support::ReadNumber(HKEY_CURRENT_USER, key, name);
}

bool KeyExists(const wchar_t* key) {
    return support::KeyExists(HKEY_CURRENT_USER, key);
}

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring ProcessImage(HANDLE process) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!::QueryFullProcessImageNameW(process, 0, path, &size))
        return {};
    return path;
}

struct NestoraSearch {
    std::wstring exe;
    HWND window = nullptr;
    DWORD processId = 0;
};

// A named callback: 32-bit Windows calls it with the stdcall convention.
BOOL CALLBACK FindNestoraWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<NestoraSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, kMainWindowClass) != 0)
        return TRUE;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    const nestora::gui::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner));
    if (process && ::lstrcmpiW(ProcessImage(process.get()).c_str(), search.exe.c_str()) == 0) {
        search.window = window;
        search.processId = owner;
        return FALSE;
    }
    return TRUE;
}

// The main window of a Nestora running from exe, if one runs.
NestoraSearch RunningNestora(const std::wstring& exe) {
    NestoraSearch search{exe};
    ::EnumWindows(FindNestoraWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

// Ends a running Nestora the way its menu's Exit does, and reports its exit code.
std::optional<DWORD> CloseNestora(const NestoraSearch& running) {
    const auto process = ChildProcess::Adopt(running.processId);
    ::PostMessageW(running.window, WM_CLOSE, 0, 0);
    return process.ExitCode(20s);
}

std::wstring ShortcutTarget(const std::wstring& link) {
    Microsoft::WRL::ComPtr<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&shellLink))))
        return {};
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(shellLink.As(&file)) || FAILED(file->Load(link.c_str(), STGM_READ)))
        return {};
    wchar_t path[MAX_PATH] = {};
    if (FAILED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
        return {};
    return path;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_FALSE(KnownFolder(FOLDERID_LocalAppData).empty());
        ClearInstallation();
    }
    void TearDown() override {
        ClearInstallation();
        ::CoUninitialize();
    }

    // By hand, not with the uninstaller under test.
    static void ClearInstallation() {
        for (NestoraSearch running = RunningNestora(InstalledExe()); running.window;
             running = RunningNestora(InstalledExe())) {
            // Ended on the way out of this scope if it does not end by itself.
            const auto process = ChildProcess::Adopt(running.processId);
            ::PostMessageW(running.window, WM_CLOSE, 0, 0);
            process.ExitCode(10s);
        }
        std::error_code ignored;
        fs::remove_all(InstallDir(), ignored);
        fs::remove(ShortcutPath(), ignored);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
    }

    static void InstallSilently() {
        ChildProcess setup(WindowsPathOf(NESTORA_INSTALLER), {L"/S"});
        ASSERT_TRUE(setup.Started());
        ASSERT_EQ(setup.ExitCode(kProgramTime), 0u);
        ASSERT_TRUE(fs::exists(InstalledExe()));
    }

    // The uninstaller copies itself to the temporary folder, starts that copy and returns
    // at once: its work is done when its last step, the "Apps" entry, is gone.
    static void RunUninstaller(const std::wstring& commandLine) {
        auto uninstall = ChildProcess::FromCommandLine(commandLine);
        ASSERT_TRUE(uninstall.Started());
        ASSERT_EQ(uninstall.ExitCode(kProgramTime), 0u);
        ASSERT_TRUE(WaitFor([] { return !KeyExists(kUninstallKey); }, kStepTime));
    }

    static std::unique_ptr<ChildProcess> StartInstalled() {
        auto nestora = std::make_unique<ChildProcess>(InstalledExe());
        EXPECT_TRUE(nestora->Started());
        EXPECT_TRUE(
            WaitFor([] { return RunningNestora(InstalledExe()).window != nullptr; }, kStepTime));
        return nestora;
    }

    static void StoreStartWithWindows() {
        ASSERT_TRUE(support::WriteNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", 1));
    }
};

TEST_F(InstallerTest, ASilentInstallPutsNestoraInTheUsersProgramsFolderAndItRunsFromThere) {
    InstallSilently();
    const fs::path dir = InstallDir();
    EXPECT_EQ(FileBytes(dir / L"nestora.exe"), FileBytes(WindowsPathOf(NESTORA_EXE)));
    EXPECT_TRUE(fs::is_regular_file(dir / L"uninstall.exe"));
    EXPECT_TRUE(fs::is_regular_file(dir / L"README.txt"));
    // Windows line ends throughout (Notepad on Windows 7 shows bare LF as one line).
    const std::string readme = FileBytes(dir / L"README.txt");
    EXPECT_NE(readme.find("Ctrl+`"), std::string::npos);
    for (std::size_t at = readme.find('\n'); at != std::string::npos;
         at = readme.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "a bare line feed at byte " << at;
    EXPECT_TRUE(fs::exists(ShortcutPath()));
    EXPECT_EQ(::lstrcmpiW(ShortcutTarget(ShortcutPath()).c_str(), InstalledExe().c_str()), 0)
        << ShortcutTarget(ShortcutPath());
    // A silent install starts nothing by itself.
    EXPECT_EQ(RunningNestora(InstalledExe()).window, nullptr);

    // The "Apps" list entry.
    const std::wstring uninstaller = L"\"" + InstallDir() + L"\\uninstall.exe\"";
    EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayName"), L"Nestora");
    EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayVersion"), Widen(NESTORA_VERSION));
    EXPECT_EQ(RegistryText(kUninstallKey, L"Publisher"), L"Nestora");
    EXPECT_EQ(RegistryText(kUninstallKey, L"DisplayIcon"), InstalledExe() + L",0");
    EXPECT_EQ(RegistryText(kUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(RegistryText(kUninstallKey, L"QuietUninstallString"), uninstaller + L" /S");
    EXPECT_EQ(RegistryText(kUninstallKey, L"InstallLocation"), InstallDir());
    EXPECT_EQ(RegistryNumber(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(RegistryNumber(kUninstallKey, L"NoRepair"), 1u);
    // In kilobytes: at least the program itself.
    const auto size = RegistryNumber(kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size);
    EXPECT_GE(*size, fs::file_size(dir / L"nestora.exe") / 1024);
    EXPECT_LE(*size, 2 * (fs::file_size(dir / L"nestora.exe") / 1024) + 1024);

    // Started from there, it runs hidden in the tray and, told to start with Windows,
    // leaves the run entry that names this very file (what the uninstaller looks for).
    StoreStartWithWindows();
    const auto nestora = StartInstalled();
    const NestoraSearch running = RunningNestora(InstalledExe());
    ASSERT_NE(running.window, nullptr);
    EXPECT_EQ(running.processId, nestora->Id());
    EXPECT_FALSE(::IsWindowVisible(running.window));
    EXPECT_EQ(CloseNestora(running), 0u);
    EXPECT_EQ(RegistryText(kRunKey, kRunValue), InstalledExe());
    EXPECT_TRUE(RegistryText(kSettingsKey, L"Lang").has_value());
}

TEST_F(InstallerTest, TheAppsListsSilentUninstallEndsARunningNestoraAndLeavesNothingBehind) {
    InstallSilently();
    StoreStartWithWindows();
    const auto nestora = StartInstalled();
    const auto quiet = RegistryText(kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);

    RunUninstaller(*quiet);
    // Ended by its own Exit (exit code 0), not killed; as it ended it wrote its settings and
    // its run entry, and both are gone all the same.
    EXPECT_EQ(nestora->ExitCode(kProgramTime), 0u);
    EXPECT_FALSE(fs::exists(InstallDir()));
    EXPECT_FALSE(fs::exists(ShortcutPath()));
    EXPECT_FALSE(RegistryText(kRunKey, kRunValue).has_value());
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_FALSE(KeyExists(kUninstallKey));
}

TEST_F(InstallerTest, TheUninstallerKeepsWhatIsNotItsOwn) {
    InstallSilently();
    const fs::path dir = InstallDir();
    { std::ofstream(dir / L"notes.txt") << "the user's own file"; }
    // A portable copy elsewhere: it is running, and it is the one that starts with Windows
    // (its run value has the same name; written once it has started, as starting removes it).
    const std::wstring portable = WindowsPathOf(NESTORA_EXE);
    ChildProcess other(portable);
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(WaitFor([&] { return RunningNestora(portable).window != nullptr; }, kStepTime));
    other.WaitUntilIdle();
    ASSERT_TRUE(support::WriteText(HKEY_CURRENT_USER, kRunKey, kRunValue, portable));

    RunUninstaller(L"\"" + (dir / L"uninstall.exe").wstring() + L"\" /S");
    EXPECT_FALSE(fs::exists(dir / L"nestora.exe"));
    EXPECT_FALSE(fs::exists(dir / L"uninstall.exe"));
    EXPECT_FALSE(fs::exists(dir / L"README.txt"));
    EXPECT_FALSE(fs::exists(ShortcutPath()));
    EXPECT_TRUE(fs::exists(dir / L"notes.txt"));
    EXPECT_EQ(RegistryText(kRunKey, kRunValue), portable);
    EXPECT_TRUE(other.Running());

    const NestoraSearch running = RunningNestora(portable);
    ASSERT_NE(running.window, nullptr);
    EXPECT_EQ(CloseNestora(running), 0u);
}

TEST_F(InstallerTest, ASilentUpdateEndsTheRunningCopyPolitelyAndStartsItAgain) {
    InstallSilently();
    const auto old = StartInstalled();
    // Written again as the old copy ends: proof that it was asked, not killed.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);

    InstallSilently();
    EXPECT_EQ(old->ExitCode(kProgramTime), 0u);
    EXPECT_TRUE(RegistryText(kSettingsKey, L"Lang").has_value());
    ASSERT_TRUE(
        WaitFor([] { return RunningNestora(InstalledExe()).window != nullptr; }, kStepTime));
    const NestoraSearch restarted = RunningNestora(InstalledExe());
    EXPECT_NE(restarted.processId, old->Id());
    EXPECT_EQ(CloseNestora(restarted), 0u);
}

} // namespace
