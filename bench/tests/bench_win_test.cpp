// What the benchmarks stand on: the stand-in shell counts the calls of both designs as
// they are (the old one's 7N + 5, ours 2N + 4) and both send the folder to the same
// window; and on the real file system a name that another program takes between the
// listing and the creation moves the press on to the next free name.
#include "bench/naive_press.h"
#include "bench/press_stand_ins.h"

#include "app/folder_creation.h"
#include "app/hotkey_press.h"
#include "app/win_file_system.h"
#include "app/win_shell_automation.h"

#include "tests/support/win/stand_in_shell.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

namespace nestora::bench {
namespace {

using testing::AutomationCalls;
using testing::MadeUpWindows;
using testing::MakeStandInShell;

TEST(PressCalls, TheOldWayTakes7NPlus5CallsOurs2NPlus4ForTheSameFolder) {
    for (const int n : {1, 10, 50}) {
        SCOPED_TRACE(n);
        const auto windows = MadeUpWindows(n);
        const auto& focused = windows[static_cast<std::size_t>(n / 2)];

        auto naiveCalls = std::make_shared<AutomationCalls>();
        const NaivePressResult naive =
            NaivePress(*MakeStandInShell(naiveCalls, windows).Get(),
                       reinterpret_cast<HWND>(focused.frame), 0, nullptr);
        EXPECT_EQ(naiveCalls->Invokes(), 7L * n + 5);
        EXPECT_EQ(naive.folderLocations, (std::vector<std::wstring>{focused.locationUrl}));
        EXPECT_EQ(naive.desktopFolders, 0);

        auto ourCalls = std::make_shared<AutomationCalls>();
        const auto shell = app::ShellAutomationOver(MakeStandInShell(ourCalls, windows));
        FocusOn focus(focused.frame);
        RecordedTargets targets;
        app::HandleHotKeyPress(shell.get(), focus, targets);
        EXPECT_EQ(ourCalls->Invokes(), 2L * n + 4);
        EXPECT_EQ(targets.folders,
                  (std::vector<std::wstring>{L"C:\\Folder" + std::to_wstring(n / 2)}));
        EXPECT_EQ(targets.desktop, 0);
        EXPECT_EQ(naiveCalls->refreshed.size(), 1u);
        EXPECT_EQ(ourCalls->refreshed.size(), 1u);
    }
}

TEST(PressCalls, WithTheMinimisedCountEqualBothWaysSendTheFolderToTheDesktop) {
    const auto windows = MadeUpWindows(3);
    auto calls = std::make_shared<AutomationCalls>();
    const NaivePressResult naive =
        NaivePress(*MakeStandInShell(calls, windows).Get(), nullptr, 3, nullptr);
    EXPECT_TRUE(naive.folderLocations.empty());
    EXPECT_EQ(naive.desktopFolders, 1);
}

// The real file system, with another program that makes a directory of the name about to
// be created just before the creation, `times` times, each time the name was still free.
class RacedFileSystem final : public app::FolderFileSystem {
public:
    explicit RacedFileSystem(int times) : races_(times) {}
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override {
        return real_.DirectoryNamesStartingWith(folder, prefix);
    }
    app::CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        if (races_ > 0 && ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            --races_;
            ::CreateDirectoryW(path.c_str(), nullptr);
        }
        return real_.MakeDirectory(path);
    }

private:
    app::WindowsFileSystem real_;
    int races_;
};

class RaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 (L"nestora-bench-race-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::optional<std::wstring> Press(RacedFileSystem& fileSystem) {
        const std::wstring target = folder.wstring();
        return app::CreateNewFolder(fileSystem, {target, L"New Folder", L"New Folder"});
    }
    std::filesystem::path folder;
};

TEST_F(RaceTest, ANameTakenBetweenTheListingAndTheCreationGivesTheNextFreeName) {
    RacedFileSystem once(1);
    EXPECT_EQ(Press(once), (folder / L"New Folder (2)").wstring());
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"New Folder"));

    // Taken twice in a row, past names already there.
    RacedFileSystem twice(2);
    EXPECT_EQ(Press(twice), (folder / L"New Folder (5)").wstring());
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"New Folder (3)"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / L"New Folder (4)"));
}

} // namespace
} // namespace nestora::bench
