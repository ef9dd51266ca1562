// What a press does in the focused Explorer window's view, against the in-process stand-in
// view over a real scratch folder: the new folder selected alone in rename mode (retried
// while the view doesn't list it, given up quietly), and with the selection key the
// selected files moved into it by the shell's own file operation, real files on disk.
#include "app/win_file_system.h"
#include "app/win_item_mover.h"
#include "app/win_shell_automation.h"
#include "app/win_thread_timer.h"
#include "gui/win/handles.h"

#include "tests/app/main_window_stand_ins.h"
#include "tests/support/win/stand_in_shell.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <shobjidl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace nestora::app {
namespace {

namespace fs = std::filesystem;
using nestora::testing::StandInViewState;
using namespace std::chrono_literals;
using Texts = std::vector<std::wstring>;

constexpr WindowId kFocused = 0x10010;
constexpr UINT kRenameFlags =
    SVSI_EDIT | SVSI_SELECT | SVSI_DESELECTOTHERS | SVSI_ENSUREVISIBLE | SVSI_FOCUSED;
constexpr wchar_t kNewFolder[] = L"Новая папка";

class FocusedWindow final : public PressWindows {
public:
    bool IsMinimised(WindowId) override { return false; }
    WindowId ForegroundWindow() override { return kFocused; }
    bool IsDesktop(WindowId) override { return false; }
    WindowId ActiveTab(WindowId) override { return 0; }
};

// The real file system, but for folders it is told to refuse.
class RefusingFileSystem final : public FolderFileSystem {
public:
    std::vector<std::wstring> DirectoryNamesStartingWith(const std::wstring& folder,
                                                         const std::wstring& prefix) override {
        return real.DirectoryNamesStartingWith(folder, prefix);
    }
    CreateDirectoryResult MakeDirectory(const std::wstring& path) override {
        return refuse ? CreateDirectoryResult::failed : real.MakeDirectory(path);
    }
    WindowsFileSystem real;
    bool refuse = false;
};

// A mover that notes what it was asked and moves nothing.
class NotingMover final : public ItemMover {
public:
    void MoveInto(const std::vector<std::wstring>& items, const std::wstring& folder,
                  WindowId owner) override {
        asked.push_back({items, folder, owner});
    }
    struct Request {
        std::vector<std::wstring> items;
        std::wstring folder;
        WindowId owner;
    };
    std::vector<Request> asked;
};

class ShellViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 (L"nestora-view-" + std::to_wstring(::GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        view->folder = folder.wstring();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::wstring Location() const {
        std::wstring url = L"file:///" + folder.wstring();
        std::replace(url.begin(), url.end(), L'\\', L'/');
        return url;
    }
    void Press(PressKind kind) {
        auto calls = std::make_shared<nestora::testing::AutomationCalls>();
        std::vector<nestora::testing::ShellWindow> windows{{kFocused, Location()}};
        windows[0].view = view;
        const auto shell = ShellAutomationOver(nestora::testing::MakeStandInShell(calls, windows));
        FocusedWindow focus;
        ScratchDesktop desktop(L"");
        NewFolderTargets targets(files, desktop, {kNewFolder, kNewFolder});
        targets.SetSelectionMover(mover);
        targets.SetRenameStarter([this](std::unique_ptr<RenameView> v, const std::wstring& p) {
            rename.Start(std::move(v), p);
        });
        HandleHotKeyPress(shell.get(), focus, targets, kind);
        refreshes += static_cast<int>(calls->refreshed.size());
    }
    void Write(const wchar_t* name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    std::string Read(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The names in a folder, sorted.
    Texts Names(const fs::path& in) const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(in))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::wstring Inside(const wchar_t* name) const { return (folder / name).wstring(); }

    fs::path folder;
    std::shared_ptr<StandInViewState> view = std::make_shared<StandInViewState>();
    RefusingFileSystem files;
    ShellItemMover shellMover;
    ItemMover* mover = &shellMover;
    ThreadTimer timer;
    FolderRename rename{timer};
    int refreshes = 0;
};

TEST_F(ShellViewTest, TheNewFolderIsSelectedAloneInRenameModeInTheWindowsView) {
    Press(PressKind::newFolder);
    EXPECT_EQ(Names(folder), (Texts{kNewFolder}));
    EXPECT_EQ(view->editedItems,
              (std::vector<StandInViewState::SelectCall>{{Inside(kNewFolder), kRenameFlags}}));
    EXPECT_FALSE(rename.Waiting());
    EXPECT_EQ(refreshes, 1);
    // A plain press never asks what is selected.
    EXPECT_EQ(view->selectionReads, 0);

    // The next press renames the next folder.
    Press(PressKind::newFolder);
    ASSERT_EQ(view->editedItems.size(), 2u);
    EXPECT_EQ(view->editedItems[1].path, Inside(L"Новая папка (2)"));
}

TEST_F(ShellViewTest, ARenameWaitsBetweenMessagesForTheViewToListTheFolder) {
    view->listedAtTry = 4;
    Press(PressKind::newFolder);
    EXPECT_EQ(view->selectTries, 1); // the press returns at once
    EXPECT_TRUE(view->editedItems.empty());
    ASSERT_TRUE(nestora::testing::WaitFor([&] { return !rename.Waiting(); }, 3s));
    EXPECT_EQ(view->selectTries, 5); // three unlisted, then selected, then its name edited
    EXPECT_EQ(view->editedItems,
              (std::vector<StandInViewState::SelectCall>{{Inside(kNewFolder), kRenameFlags}}));
}

TEST_F(ShellViewTest, AViewThatNeverListsTheFolderIsGivenUpQuietlyAfterFortyRetries) {
    view->listedAtTry = 1000;
    Press(PressKind::newFolder);
    ASSERT_TRUE(nestora::testing::WaitFor([&] { return !rename.Waiting(); }, 5s));
    EXPECT_EQ(view->selectTries, 41);
    nestora::testing::PumpFor(200ms);
    EXPECT_EQ(view->selectTries, 41);
    EXPECT_TRUE(view->editedItems.empty());
    // The folder stays, whatever became of its rename.
    EXPECT_EQ(Names(folder), (Texts{kNewFolder}));
}

TEST_F(ShellViewTest, TheSelectionKeyMovesTheSelectedFilesIntoTheNewFolderAndNothingElse) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt"})
        Write(name, "content of " + fs::path(name).string());
    view->selected = {L"a.txt", L"c.txt", L"b.txt"};
    Press(PressKind::withSelection);
    EXPECT_EQ(Names(folder), (Texts{L"d.txt", kNewFolder}));
    EXPECT_EQ(Names(folder / kNewFolder), (Texts{L"a.txt", L"b.txt", L"c.txt"}));
    EXPECT_EQ(Read(folder / kNewFolder / L"b.txt"), "content of b.txt");
    EXPECT_EQ(view->selectionReads, 1);
    // Then the folder alone is selected for its name.
    EXPECT_EQ(view->editedItems,
              (std::vector<StandInViewState::SelectCall>{{Inside(kNewFolder), kRenameFlags}}));
    std::printf("[ measured ] the move went through %s\n",
                shellMover.LastRoute() == MoveRoute::fileOperation ? "IFileOperation"
                                                                   : "SHFileOperationW");
}

TEST_F(ShellViewTest, AFileHeldOpenWithoutSharingStaysWhileTheOthersMoveAndNothingIsLost) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        Write(name, "content of " + fs::path(name).string());
    view->selected = {L"a.txt", L"b.txt", L"c.txt"};
    {
        const HANDLE raw = ::CreateFileW(Inside(L"a.txt").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(raw, INVALID_HANDLE_VALUE);
        const gui::UniqueKernelHandle held(raw);
        Press(PressKind::withSelection);
    }
    EXPECT_EQ(Names(folder), (Texts{L"a.txt", kNewFolder}));
    EXPECT_EQ(Names(folder / kNewFolder), (Texts{L"b.txt", L"c.txt"}));
    EXPECT_EQ(Read(folder / L"a.txt"), "content of a.txt");
    EXPECT_EQ(Read(folder / kNewFolder / L"c.txt"), "content of c.txt");
}

TEST_F(ShellViewTest, NothingSelectedIsAPlainPress) {
    Write(L"a.txt", "a");
    NotingMover noting;
    mover = &noting;
    Press(PressKind::withSelection);
    EXPECT_EQ(view->selectionReads, 1);
    EXPECT_TRUE(noting.asked.empty());
    EXPECT_EQ(Names(folder), (Texts{L"a.txt", kNewFolder}));
    EXPECT_EQ(view->editedItems.size(), 1u);
}

TEST_F(ShellViewTest, AFolderThatCannotBeMadeGetsNothingMovedAndNoRename) {
    Write(L"a.txt", "a");
    Write(L"b.txt", "b");
    view->selected = {L"a.txt", L"b.txt"};
    files.refuse = true;
    Press(PressKind::withSelection);
    EXPECT_EQ(Names(folder), (Texts{L"a.txt", L"b.txt"}));
    EXPECT_EQ(view->selectTries, 0);
}

} // namespace
} // namespace nestora::app
