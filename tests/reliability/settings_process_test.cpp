// Bad settings met by the real nestora.exe under Wine, as a user would meet them: the
// spoiled value stored in the program's own key (HKEY_CURRENT_USER\Software\Nestora of
// the test run's disposable prefix), the program started, its message box (if it gives
// one) read and closed, the hotkey pressed through the system's input, the desktop looked
// at (and the folders above it, where a name climbing out would land), the program closed
// and what it wrote read back. It must never crash, never make a folder outside the
// desktop, and end with exit code 0.
#include "hostile_names.h"

#include "app/win_desktop_shell.h"

#include "tests/support/core/windows_path.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/process_windows.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace nestora::reliability {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using nestora::testing::kSettingsKey;
using nestora::testing::RegistryValue;

struct ProcessCase {
    const char* label;
    // Stored before the start; a value left out is missing.
    std::vector<std::pair<const wchar_t*, RegistryValue>> stored;
    std::wstring box;      // the message the start shows; empty: none
    std::wstring made;     // the folder a press makes on the desktop; empty: none
    std::wstring nameBack; // "FolderName" once the program has ended
    std::wstring hotKeyBack;
    std::wstring langBack;
    DWORD startUpBack = 0;
};

RegistryValue RawValue(DWORD type, std::vector<std::uint8_t> bytes) {
    RegistryValue value;
    value.type = type;
    value.bytes = std::move(bytes);
    return value;
}

std::vector<ProcessCase> ProcessCases() {
    using nestora::testing::NumberValue;
    using nestora::testing::TextValue;
    const auto good = [](const wchar_t* name) {
        return std::vector<std::pair<const wchar_t*, RegistryValue>>{
            {L"StartUp", NumberValue(0)},
            {L"FolderName", TextValue(name)},
            {L"HotKey", TextValue(L"^`")},
            {L"Lang", TextValue(L"En")}};
    };
    const std::wstring big = OversizedText();
    std::vector<ProcessCase> cases;
    cases.push_back({"a name climbing out", good(L"..\\..\\escaped"), L"", L"New Folder",
                     L"..\\..\\escaped", L"Ctrl+`", L"En"});
    cases.push_back({"a device name with an extension", good(L"CON.txt"), L"", L"New Folder",
                     L"CON.txt", L"Ctrl+`", L"En"});
    cases.push_back({"a drive path", good(L"C:\\escaped"), L"", L"New Folder", L"C:\\escaped",
                     L"Ctrl+`", L"En"});
    {
        auto stored = good(L"");
        stored[1].second = TextValue(big);
        cases.push_back({"a 64 KiB name", stored, L"", L"New Folder", big, L"Ctrl+`", L"En"});
    }
    {
        auto stored = good(L"");
        stored[1].second = TextValue(std::wstring(L"ab\0..\\escaped", 13));
        cases.push_back({"a name with a zero inside", stored, L"", L"ab", L"ab", L"Ctrl+`", L"En"});
    }
    {
        auto stored = good(L"Mine");
        stored[0].second = TextValue(L"1");
        cases.push_back({"StartUp as text", stored, L"Invalid data type for 'StartUp'", L"Mine",
                         L"Mine", L"Ctrl+`", L"En"});
    }
    {
        auto stored = good(L"Mine");
        stored[3].second = NumberValue(1);
        cases.push_back({"Lang as a number", stored, L"Invalid data type for 'Lang'", L"Mine",
                         L"Mine", L"Ctrl+`", L"Ru"});
    }
    {
        auto stored = good(L"Mine");
        stored[2].second = RawValue(REG_BINARY, std::vector<std::uint8_t>(65536, 'x'));
        cases.push_back({"HotKey as 64 KiB of binary", stored, L"Invalid data type for 'HotKey'",
                         L"Mine", L"Mine", L"Ctrl+`", L"En"});
    }
    {
        auto stored = good(L"Mine");
        stored[2].second = TextValue(big);
        // No hotkey: a press makes nothing; the text no layout reads is kept as it was.
        cases.push_back({"HotKey as a 64 KiB text", stored, L"", L"", L"Mine", big, L"En"});
    }
    // Every value missing, as a write cut short at its start leaves the key: the window's
    // defaults, and no message.
    cases.push_back(
        {"the key with no values", {}, L"", L"Новая папка", L"Новая папка", L"Ctrl+`", L"Ru"});
    return cases;
}

class BadSettingsInTheProgram : public ::testing::Test {
protected:
    void SetUp() override {
        nestora::testing::DeleteKey(HKEY_CURRENT_USER, kSettingsKey);
        desktop = app::SystemDesktopShell().DesktopPath();
        ASSERT_FALSE(desktop.empty());
        fs::create_directories(desktop);
        baselineDesktop = Entries(desktop);
        baselineAbove = Entries(fs::path(desktop).parent_path());
        baselineTwoAbove = Entries(fs::path(desktop).parent_path().parent_path());
    }
    void TearDown() override {
        RemoveNewEntries();
        nestora::testing::DeleteKey(HKEY_CURRENT_USER, kSettingsKey);
    }
    static std::vector<std::wstring> Entries(const fs::path& folder) {
        std::vector<std::wstring> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::wstring> Added(const std::vector<std::wstring>& before,
                                           const std::vector<std::wstring>& now) {
        std::vector<std::wstring> added;
        std::set_difference(now.begin(), now.end(), before.begin(), before.end(),
                            std::back_inserter(added));
        return added;
    }
    void RemoveNewEntries() {
        std::error_code ignored;
        for (const auto& name : Added(baselineDesktop, Entries(desktop)))
            fs::remove_all(fs::path(desktop) / name, ignored);
    }

    std::wstring desktop;
    std::vector<std::wstring> baselineDesktop, baselineAbove, baselineTwoAbove;
};

TEST_F(BadSettingsInTheProgram, EachSpoiledValueIsReportedOrDefaultedAndNoFolderLandsOutside) {
    const auto cases = ProcessCases();
    int held = 0;
    for (const ProcessCase& c : cases) {
        SCOPED_TRACE(c.label);
        const bool failedBefore = HasFailure();
        nestora::testing::DeleteKey(HKEY_CURRENT_USER, kSettingsKey);
        // The key is there even when every value is missing.
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr);
        ::RegCloseKey(key);
        for (const auto& [name, value] : c.stored)
            ASSERT_TRUE(nestora::testing::WriteValue(HKEY_CURRENT_USER, kSettingsKey, name, value));

        nestora::testing::ChildProcess nestora(nestora::testing::WindowsPathOf(NESTORA_EXE));
        ASSERT_TRUE(nestora.Started());
        const nestora::testing::WindowQuery boxes{nestora.Id(), nestora::testing::kMessageBoxClass};
        if (!c.box.empty()) {
            HWND box = nullptr;
            ASSERT_TRUE(nestora::testing::WaitFor([&] {
                box = nestora::testing::ProcessWindow(boxes);
                return box && !nestora::testing::MessageBoxText(box).empty();
            })) << "no message box";
            EXPECT_EQ(nestora::testing::MessageBoxText(box), c.box);
            nestora::testing::PressOk(box);
            ASSERT_TRUE(nestora::testing::WaitFor([&] {
                return nestora::testing::ProcessWindow(boxes) == nullptr;
            })) << "the message box stays";
        }
        const HWND mainWindow = nestora.WaitForWindow(L"TForm1");
        ASSERT_NE(mainWindow, nullptr);
        // Settled: the window's thread handles messages again.
        DWORD_PTR answer = 0;
        ASSERT_NE(::SendMessageTimeoutW(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer), 0);

        std::vector<INPUT> press = nestora::testing::PressesOf(nestora::testing::kDefaultHotKey, 1);
        ASSERT_EQ(nestora::testing::SendInputs(press), press.size());
        if (!c.made.empty()) {
            EXPECT_TRUE(nestora::testing::WaitFor(
                [&] { return fs::is_directory(fs::path(desktop) / c.made); }));
        } else {
            nestora::testing::PumpFor(1500ms);
        }
        EXPECT_EQ(Added(baselineDesktop, Entries(desktop)),
                  c.made.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.made});
        EXPECT_EQ(Added(baselineAbove, Entries(fs::path(desktop).parent_path())),
                  std::vector<std::wstring>{});
        EXPECT_EQ(Added(baselineTwoAbove, Entries(fs::path(desktop).parent_path().parent_path())),
                  std::vector<std::wstring>{});
        EXPECT_EQ(nestora::testing::ProcessWindow(boxes), nullptr) << "a message box too many";

        ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(nestora.ExitCode(), 0u);
        const auto text = [](const wchar_t* name) {
            const auto value = nestora::testing::ReadValue(HKEY_CURRENT_USER, kSettingsKey, name);
            return value ? value->Text() : std::nullopt;
        };
        const auto startUp =
            nestora::testing::ReadValue(HKEY_CURRENT_USER, kSettingsKey, L"StartUp");
        EXPECT_EQ(startUp ? startUp->Number() : std::nullopt, c.startUpBack);
        const auto name = text(L"FolderName");
        EXPECT_TRUE(name && *name == c.nameBack)
            << "FolderName read back with " << (name ? name->size() : 0) << " characters";
        const auto hotKey = text(L"HotKey");
        EXPECT_TRUE(hotKey && *hotKey == c.hotKeyBack)
            << "HotKey read back with " << (hotKey ? hotKey->size() : 0) << " characters";
        EXPECT_EQ(text(L"Lang"), c.langBack);
        RemoveNewEntries();
        held += HasFailure() && !failedBefore ? 0 : 1;
    }
    std::printf("[ COUNTS   ] %d spoiled settings through nestora.exe: started, pressed, closed; "
                "%d held everything\n",
                static_cast<int>(cases.size()), held);
}

} // namespace
} // namespace nestora::reliability
