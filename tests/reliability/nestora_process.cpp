#include "nestora_process.h"

#include "tests/support/core/folder_series.h"
#include "tests/support/core/windows_path.h"
#include "tests/support/win/process_windows.h"

#include "app/win_desktop_shell.h"

#include <cstdio>
#include <filesystem>

namespace nestora::reliability {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::kSettingsKey;

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void ReadText(const wchar_t* name, std::optional<std::wstring>& into, StoredSettings& settings) {
    const auto value = testing::ReadValue(HKEY_CURRENT_USER, kSettingsKey, name);
    if (!value)
        return;
    into = value->Text();
    if (!into)
        settings.wrongTypes.push_back(name);
}

} // namespace

StoredSettings ReadStoredSettings() {
    StoredSettings settings;
    settings.keyExists = testing::KeyExists(HKEY_CURRENT_USER, kSettingsKey);
    if (const auto value = testing::ReadValue(HKEY_CURRENT_USER, kSettingsKey, L"StartUp")) {
        settings.startUp = value->Number();
        if (!settings.startUp)
            settings.wrongTypes.push_back(L"StartUp");
    }
    ReadText(L"FolderName", settings.folderName, settings);
    ReadText(L"HotKey", settings.hotKey, settings);
    ReadText(L"Lang", settings.lang, settings);
    return settings;
}

void StoreSettings(const Settings& settings) {
    RemoveSettings();
    OverwriteSettings(settings);
}

void OverwriteSettings(const Settings& settings) {
    testing::WriteNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", settings.startUp);
    testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, L"FolderName", settings.folderName);
    testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, L"HotKey", settings.hotKey);
    testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, L"Lang", settings.lang);
}

void RemoveSettings() {
    testing::DeleteKey(HKEY_CURRENT_USER, kSettingsKey);
}

bool RunEntryExists() {
    return testing::ReadValue(HKEY_CURRENT_USER, kRunKey, L"nestora.exe").has_value();
}

void RemoveRunEntry() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    ::RegDeleteValueW(key, L"nestora.exe");
    ::RegCloseKey(key);
}

std::wstring NestoraExe() {
    return testing::WindowsPathOf(NESTORA_EXE);
}

std::unique_ptr<ChildProcess> StartNestora(std::chrono::milliseconds limit) {
    auto nestora = std::make_unique<ChildProcess>(NestoraExe());
    if (!nestora->Started())
        return nullptr;
    const auto end = std::chrono::steady_clock::now() + limit;
    const bool made = testing::WaitFor(
        [&] {
            return !nestora->Running() ||
                   (nestora->Window(kMainWindowClass) && nestora->Window(kTrayWindowClass));
        },
        limit);
    if (!made || !nestora->Running())
        return nullptr;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (::WaitForInputIdle(nestora->Handle(), static_cast<DWORD>(std::max(left, 0ms).count())) != 0)
        return nullptr;
    return nestora;
}

std::vector<std::wstring> MessageBoxesOf(const ChildProcess& process) {
    std::vector<std::wstring> texts;
    for (const HWND box : testing::ProcessWindows({process.Id(), testing::kMessageBoxClass}))
        texts.push_back(testing::MessageBoxText(box));
    return texts;
}

std::vector<std::wstring> DismissMessageBoxes(const ChildProcess& process) {
    std::vector<std::wstring> texts;
    for (const HWND box : testing::ProcessWindows({process.Id(), testing::kMessageBoxClass})) {
        texts.push_back(testing::MessageBoxText(box));
        testing::PressOk(box);
    }
    return texts;
}

std::optional<DWORD> CloseNestora(ChildProcess& process, std::chrono::milliseconds limit) {
    const HWND window = process.Window(kMainWindowClass);
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    return process.ExitCode(limit);
}

std::wstring DesktopFolder() {
    std::wstring desktop = app::SystemDesktopShell().DesktopPath();
    std::error_code ignored;
    if (!desktop.empty())
        fs::create_directories(desktop, ignored);
    return desktop;
}

std::vector<std::wstring> DirectoryNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_directory(error))
            names.push_back(entry->path().filename().wstring());
    }
    return names;
}

void RemoveSeries(const std::wstring& folder, const std::wstring& base) {
    std::error_code ignored;
    for (const std::wstring& name : DirectoryNames(folder)) {
        if (testing::SeriesNumber(base, name))
            fs::remove_all(fs::path(folder) / name, ignored);
    }
}

std::string Seconds(std::chrono::steady_clock::duration duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double>(duration).count());
    return text;
}

} // namespace nestora::reliability
