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

void readText(const wchar_t* name, std::optional<std::wstring>& into, StoredSettings& settings) {
    const auto value = testing::readValue(HKEY_CURRENT_USER, kSettingsKey, name);
    if (!value)
        return;
    into = value->text();
    if (!into)
        settings.wrongTypes.push_back(name);
}

} // namespace

StoredSettings readStoredSettings() {
    StoredSettings settings;
    settings.keyExists = testing::keyExists(HKEY_CURRENT_USER, kSettingsKey);
    if (const auto value = testing::readValue(HKEY_CURRENT_USER, kSettingsKey, L"StartUp")) {
        settings.startUp = value->number();
        if (!settings.startUp)
            settings.wrongTypes.push_back(L"StartUp");
    }
    readText(L"FolderName", settings.folderName, settings);
    readText(L"HotKey", settings.hotKey, settings);
    readText(L"Lang", settings.lang, settings);
    return settings;
}

void storeSettings(const Settings& settings) {
    removeSettings();
    overwriteSettings(settings);
}

void overwriteSettings(const Settings& settings) {
    testing::writeNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", settings.startUp);
    testing::writeText(HKEY_CURRENT_USER, kSettingsKey, L"FolderName", settings.folderName);
    testing::writeText(HKEY_CURRENT_USER, kSettingsKey, L"HotKey", settings.hotKey);
    testing::writeText(HKEY_CURRENT_USER, kSettingsKey, L"Lang", settings.lang);
}

void removeSettings() {
    testing::deleteKey(HKEY_CURRENT_USER, kSettingsKey);
}

bool runEntryExists() {
    return testing::readValue(HKEY_CURRENT_USER, kRunKey, L"nestora.exe").has_value();
}

void removeRunEntry() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    ::RegDeleteValueW(key, L"nestora.exe");
    ::RegCloseKey(key);
}

std::wstring nestoraExe() {
    return testing::windowsPathOf(NESTORA_EXE);
}

std::unique_ptr<ChildProcess> startNestora(std::chrono::milliseconds limit) {
    auto nestora = std::make_unique<ChildProcess>(nestoraExe());
    if (!nestora->started())
        return nullptr;
    const auto end = std::chrono::steady_clock::now() + limit;
    const bool made = testing::waitFor(
        [&] {
            return !nestora->running() ||
                   (nestora->window(kMainWindowClass) && nestora->window(kTrayWindowClass));
        },
        limit);
    if (!made || !nestora->running())
        return nullptr;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (::WaitForInputIdle(nestora->handle(), static_cast<DWORD>(std::max(left, 0ms).count())) != 0)
        return nullptr;
    return nestora;
}

std::vector<std::wstring> messageBoxesOf(const ChildProcess& process) {
    std::vector<std::wstring> texts;
    for (const HWND box : testing::processWindows({process.id(), testing::kMessageBoxClass}))
        texts.push_back(testing::messageBoxText(box));
    return texts;
}

std::vector<std::wstring> dismissMessageBoxes(const ChildProcess& process) {
    std::vector<std::wstring> texts;
    for (const HWND box : testing::processWindows({process.id(), testing::kMessageBoxClass})) {
        texts.push_back(testing::messageBoxText(box));
        testing::pressOk(box);
    }
    return texts;
}

std::optional<DWORD> closeNestora(ChildProcess& process, std::chrono::milliseconds limit) {
    const HWND window = process.window(kMainWindowClass);
    if (window)
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    return process.exitCode(limit);
}

std::wstring desktopFolder() {
    std::wstring desktop = app::registeredDesktopPath(HKEY_CURRENT_USER);
    if (desktop.empty())
        desktop = app::knownDesktopPath();
    std::error_code ignored;
    if (!desktop.empty())
        fs::create_directories(desktop, ignored);
    return desktop;
}

std::vector<std::wstring> directoryNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_directory(error))
            names.push_back(entry->path().filename().wstring());
    }
    return names;
}

void removeSeries(const std::wstring& folder, const std::wstring& base) {
    std::error_code ignored;
    for (const std::wstring& name : directoryNames(folder)) {
        if (testing::seriesNumber(base, name))
            fs::remove_all(fs::path(folder) / name, ignored);
    }
}

std::string seconds(std::chrono::steady_clock::duration duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double>(duration).count());
    return text;
}

} // namespace nestora::reliability
