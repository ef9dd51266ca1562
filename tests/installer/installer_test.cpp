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
using support::waitFor;
using support::windowsPathOf;

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nestora";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"nestora.exe";
constexpr wchar_t kMainWindowClass[] = L"TForm1";
// How long an installer, an uninstaller or a closing Nestora may take, and a step of theirs
// seen from outside: generous, as Wine starts slowly on a busy machine.
constexpr auto kProgramTime = 60s;
constexpr auto kStepTime = 30s;

std::wstring widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    ::CoTaskMemFree(path);
    return result;
}

std::wstring installDir() {
    return knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Nestora";
}
std::wstring installedExe() {
    return installDir() + L"\\nestora.exe";
}
std::wstring shortcutPath() {
    return knownFolder(FOLDERID_Programs) + L"\\Nestora.lnk";
}

std::optional<std::wstring> registryText(const wchar_t* key, const wchar_t* name) {
    return support::readText(HKEY_CURRENT_USER, key, name);
}

std::optional<DWORD> registryNumber(const wchar_t* key, const wchar_t* name) {
    return support::readNumber(HKEY_CURRENT_USER, key, name);
}

bool keyExists(const wchar_t* key) {
    return support::keyExists(HKEY_CURRENT_USER, key);
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring processImage(HANDLE process) {
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
BOOL CALLBACK findNestoraWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<NestoraSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, kMainWindowClass) != 0)
        return TRUE;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    const gui::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner));
    if (process && ::lstrcmpiW(processImage(process.get()).c_str(), search.exe.c_str()) == 0) {
        search.window = window;
        search.processId = owner;
        return FALSE;
    }
    return TRUE;
}

// The main window of a Nestora running from exe, if one runs.
NestoraSearch runningNestora(const std::wstring& exe) {
    NestoraSearch search{exe};
    ::EnumWindows(findNestoraWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

// Ends a running Nestora the way its menu's Exit does, and reports its exit code.
std::optional<DWORD> closeNestora(const NestoraSearch& running) {
    const auto process = ChildProcess::adopt(running.processId);
    ::PostMessageW(running.window, WM_CLOSE, 0, 0);
    return process.exitCode(20s);
}

std::wstring shortcutTarget(const std::wstring& link) {
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
        ASSERT_FALSE(knownFolder(FOLDERID_LocalAppData).empty());
        ClearInstallation();
    }
    void TearDown() override {
        ClearInstallation();
        ::CoUninitialize();
    }

    // By hand, not with the uninstaller under test.
    static void ClearInstallation() {
        for (NestoraSearch running = runningNestora(installedExe()); running.window;
             running = runningNestora(installedExe())) {
            // Ended on the way out of this scope if it does not end by itself.
            const auto process = ChildProcess::adopt(running.processId);
            ::PostMessageW(running.window, WM_CLOSE, 0, 0);
            process.exitCode(10s);
        }
        std::error_code ignored;
        fs::remove_all(installDir(), ignored);
        fs::remove(shortcutPath(), ignored);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
    }

    static void InstallSilently() {
        ChildProcess setup(windowsPathOf(NESTORA_INSTALLER), {L"/S"});
        ASSERT_TRUE(setup.started());
        ASSERT_EQ(setup.exitCode(kProgramTime), 0u);
        ASSERT_TRUE(fs::exists(installedExe()));
    }

    // The uninstaller copies itself to the temporary folder, starts that copy and returns
    // at once: its work is done when its last step, the "Apps" entry, is gone.
    static void RunUninstaller(const std::wstring& commandLine) {
        auto uninstall = ChildProcess::fromCommandLine(commandLine);
        ASSERT_TRUE(uninstall.started());
        ASSERT_EQ(uninstall.exitCode(kProgramTime), 0u);
        ASSERT_TRUE(waitFor([] { return !keyExists(kUninstallKey); }, kStepTime));
    }

    static std::unique_ptr<ChildProcess> StartInstalled() {
        auto nestora = std::make_unique<ChildProcess>(installedExe());
        EXPECT_TRUE(nestora->started());
        EXPECT_TRUE(
            waitFor([] { return runningNestora(installedExe()).window != nullptr; }, kStepTime));
        return nestora;
    }

    static void StoreStartWithWindows() {
        ASSERT_TRUE(support::writeNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", 1));
    }
};

TEST_F(InstallerTest, ASilentInstallPutsNestoraInTheUsersProgramsFolderAndItRunsFromThere) {
    InstallSilently();
    const fs::path dir = installDir();
    EXPECT_EQ(fileBytes(dir / L"nestora.exe"), fileBytes(windowsPathOf(NESTORA_EXE)));
    EXPECT_TRUE(fs::is_regular_file(dir / L"uninstall.exe"));
    EXPECT_TRUE(fs::is_regular_file(dir / L"README.txt"));
    // Windows line ends throughout (Notepad on Windows 7 shows bare LF as one line).
    const std::string readme = fileBytes(dir / L"README.txt");
    EXPECT_NE(readme.find("Ctrl+`"), std::string::npos);
    for (std::size_t at = readme.find('\n'); at != std::string::npos;
         at = readme.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "a bare line feed at byte " << at;
    EXPECT_TRUE(fs::exists(shortcutPath()));
    EXPECT_EQ(::lstrcmpiW(shortcutTarget(shortcutPath()).c_str(), installedExe().c_str()), 0)
        << shortcutTarget(shortcutPath());
    // A silent install starts nothing by itself.
    EXPECT_EQ(runningNestora(installedExe()).window, nullptr);

    // The "Apps" list entry.
    const std::wstring uninstaller = L"\"" + installDir() + L"\\uninstall.exe\"";
    EXPECT_EQ(registryText(kUninstallKey, L"DisplayName"), L"Nestora");
    EXPECT_EQ(registryText(kUninstallKey, L"DisplayVersion"), widen(NESTORA_VERSION));
    EXPECT_EQ(registryText(kUninstallKey, L"Publisher"), L"Nestora");
    EXPECT_EQ(registryText(kUninstallKey, L"DisplayIcon"), installedExe() + L",0");
    EXPECT_EQ(registryText(kUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(registryText(kUninstallKey, L"QuietUninstallString"), uninstaller + L" /S");
    EXPECT_EQ(registryText(kUninstallKey, L"InstallLocation"), installDir());
    EXPECT_EQ(registryNumber(kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(registryNumber(kUninstallKey, L"NoRepair"), 1u);
    // In kilobytes: at least the program itself.
    const auto size = registryNumber(kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size);
    EXPECT_GE(*size, fs::file_size(dir / L"nestora.exe") / 1024);
    EXPECT_LE(*size, 2 * (fs::file_size(dir / L"nestora.exe") / 1024) + 1024);

    // Started from there, it runs hidden in the tray and, told to start with Windows,
    // leaves the run entry that names this very file (what the uninstaller looks for).
    StoreStartWithWindows();
    const auto nestora = StartInstalled();
    const NestoraSearch running = runningNestora(installedExe());
    ASSERT_NE(running.window, nullptr);
    EXPECT_EQ(running.processId, nestora->id());
    EXPECT_FALSE(::IsWindowVisible(running.window));
    EXPECT_EQ(closeNestora(running), 0u);
    EXPECT_EQ(registryText(kRunKey, kRunValue), installedExe());
    EXPECT_TRUE(registryText(kSettingsKey, L"Lang").has_value());
}

TEST_F(InstallerTest, TheAppsListsSilentUninstallEndsARunningNestoraAndLeavesNothingBehind) {
    InstallSilently();
    StoreStartWithWindows();
    const auto nestora = StartInstalled();
    const auto quiet = registryText(kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(quiet);

    RunUninstaller(*quiet);
    // Ended by its own Exit (exit code 0), not killed; as it ended it wrote its settings and
    // its run entry, and both are gone all the same.
    EXPECT_EQ(nestora->exitCode(kProgramTime), 0u);
    EXPECT_FALSE(fs::exists(installDir()));
    EXPECT_FALSE(fs::exists(shortcutPath()));
    EXPECT_FALSE(registryText(kRunKey, kRunValue).has_value());
    EXPECT_FALSE(keyExists(kSettingsKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
}

TEST_F(InstallerTest, TheUninstallerKeepsWhatIsNotItsOwn) {
    InstallSilently();
    const fs::path dir = installDir();
    { std::ofstream(dir / L"notes.txt") << "the user's own file"; }
    // A portable copy elsewhere: it is running, and it is the one that starts with Windows
    // (its run value has the same name; written once it has started, as starting removes it).
    const std::wstring portable = windowsPathOf(NESTORA_EXE);
    ChildProcess other(portable);
    ASSERT_TRUE(other.started());
    ASSERT_TRUE(waitFor([&] { return runningNestora(portable).window != nullptr; }, kStepTime));
    other.waitUntilIdle();
    ASSERT_TRUE(support::writeText(HKEY_CURRENT_USER, kRunKey, kRunValue, portable));

    RunUninstaller(L"\"" + (dir / L"uninstall.exe").wstring() + L"\" /S");
    EXPECT_FALSE(fs::exists(dir / L"nestora.exe"));
    EXPECT_FALSE(fs::exists(dir / L"uninstall.exe"));
    EXPECT_FALSE(fs::exists(dir / L"README.txt"));
    EXPECT_FALSE(fs::exists(shortcutPath()));
    EXPECT_TRUE(fs::exists(dir / L"notes.txt"));
    EXPECT_EQ(registryText(kRunKey, kRunValue), portable);
    EXPECT_TRUE(other.running());

    const NestoraSearch running = runningNestora(portable);
    ASSERT_NE(running.window, nullptr);
    EXPECT_EQ(closeNestora(running), 0u);
}

TEST_F(InstallerTest, ASilentUpdateEndsTheRunningCopyPolitelyAndStartsItAgain) {
    InstallSilently();
    const auto old = StartInstalled();
    // Written again as the old copy ends: proof that it was asked, not killed.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);

    InstallSilently();
    EXPECT_EQ(old->exitCode(kProgramTime), 0u);
    EXPECT_TRUE(registryText(kSettingsKey, L"Lang").has_value());
    ASSERT_TRUE(
        waitFor([] { return runningNestora(installedExe()).window != nullptr; }, kStepTime));
    const NestoraSearch restarted = runningNestora(installedExe());
    EXPECT_NE(restarted.processId, old->id());
    EXPECT_EQ(closeNestora(restarted), 0u);
}

} // namespace
