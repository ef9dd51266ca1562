// The real nestora.exe as the process cases drive it: its settings put in place and read
// back, the program started and waited for until it is up, its message boxes, and the
// desktop folder its presses fill (the test run's own Wine prefix; HOME points into the
// build folder, so nothing lands in a real home).
#pragma once

#include "tests/support/win/child_process.h"
#include "tests/support/win/registry_values.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nestora::reliability {

inline constexpr wchar_t kMainWindowClass[] = L"TForm1";
inline constexpr wchar_t kTrayWindowClass[] = L"TPUtilWindow";
inline constexpr UINT kTrayCallbackMessage = 1235;

// The four settings as the registry holds them.
struct Settings {
    DWORD startUp = 0;
    std::wstring folderName;
    std::wstring hotKey;
    std::wstring lang;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// What the key holds now: each value, or nothing where it is missing or of another type.
struct StoredSettings {
    bool keyExists = false;
    std::optional<DWORD> startUp;
    std::optional<std::wstring> folderName;
    std::optional<std::wstring> hotKey;
    std::optional<std::wstring> lang;
    // Values present but of another type than the program writes.
    std::vector<std::wstring> wrongTypes;
};

StoredSettings ReadStoredSettings();
// Replaces the key with exactly these four values.
void StoreSettings(const Settings& settings);
// Writes the four values over those in place, in the order the program writes them.
void OverwriteSettings(const Settings& settings);
void RemoveSettings();
// The run entry nestora.exe writes when "StartUp" is on; the tests remove it again.
bool RunEntryExists();
void RemoveRunEntry();

std::wstring NestoraExe();

// Starts nestora.exe and waits until it is up: its main window and its tray window made,
// and the program waiting for input. Null when it doesn't come up within the time (it is
// ended then).
std::unique_ptr<testing::ChildProcess>
StartNestora(std::chrono::milliseconds limit = std::chrono::seconds(20));

// The texts of the message boxes the process shows now.
std::vector<std::wstring> MessageBoxesOf(const testing::ChildProcess& process);
// Closes every message box the process shows; their texts.
std::vector<std::wstring> DismissMessageBoxes(const testing::ChildProcess& process);

// Closes the main window as the tray menu's exit does; the exit code, or nothing when it
// hasn't ended in the time.
std::optional<DWORD> CloseNestora(testing::ChildProcess& process,
                                  std::chrono::milliseconds limit = std::chrono::seconds(15));

// The desktop folder of the test run's user, made if missing.
std::wstring DesktopFolder();
// Names of the directories in a folder.
std::vector<std::wstring> DirectoryNames(const std::wstring& folder);
// Removes every directory of the series of base from the folder.
void RemoveSeries(const std::wstring& folder, const std::wstring& base);

// "12.3" for a count of milliseconds given in seconds with one decimal.
std::string Seconds(std::chrono::steady_clock::duration duration);

} // namespace nestora::reliability
