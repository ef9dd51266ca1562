// Which folder one press of the hotkey creates the new folder in, over fake shell windows:
// the focused Explorer window, the desktop cases (minimised shell windows among them), the
// scan after a match, windows that
// close during the scan, tabs of one window, and how many shell calls a press makes.
#include "app/hotkey_press.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace nestora::app {
namespace {

struct FakeWindow {
    std::optional<WindowId> frame;
    std::optional<std::wstring> location;
    std::optional<WindowId> browser;
    bool itemFails = false;
    bool refreshFails = false;
    bool hasView = false;
    std::vector<std::wstring> selected = {}; // what its view has selected
};

struct ShellState {
    std::vector<FakeWindow> windows;
    bool windowsFails = false;
    bool countFails = false;
    std::vector<std::string> calls;
    std::vector<long> refreshed;
};

class FakeView final : public ShellFolderView {
public:
    FakeView(ShellState& state, std::vector<std::wstring> selected)
        : state_(state), selected_(std::move(selected)) {}
    RenameAttempt TrySelectForRename(const std::wstring&) override { return RenameAttempt::done; }
    std::vector<std::wstring> SelectedPaths() override {
        state_.calls.push_back("GetSelection");
        return selected_;
    }

private:
    ShellState& state_;
    std::vector<std::wstring> selected_;
};

class FakeItem final : public ShellWindowItem {
public:
    FakeItem(ShellState& state, long index) : state_(state), index_(index) {}
    std::optional<WindowId> FrameWindow() override {
        state_.calls.push_back("HWND");
        return Window().frame;
    }
    std::optional<std::wstring> LocationUrl() override {
        state_.calls.push_back("LocationURL");
        return Window().location;
    }
    void Refresh() override {
        state_.calls.push_back("Refresh");
        if (Window().refreshFails)
            throw std::runtime_error("Refresh failed");
        state_.refreshed.push_back(index_);
    }
    std::optional<WindowId> BrowserWindow() override { return Window().browser; }
    std::unique_ptr<ShellFolderView> ActiveView() override {
        if (!Window().hasView)
            return nullptr;
        return std::make_unique<FakeView>(state_, Window().selected);
    }

private:
    const FakeWindow& Window() const { return state_.windows[static_cast<std::size_t>(index_)]; }
    ShellState& state_;
    long index_;
};

class FakeCollection final : public ShellWindowCollection {
public:
    explicit FakeCollection(ShellState& state) : state_(state) {}
    std::optional<long> Count() override {
        state_.calls.push_back("Count");
        if (state_.countFails)
            return std::nullopt;
        return static_cast<long>(state_.windows.size());
    }
    std::unique_ptr<ShellWindowItem> Item(long index) override {
        state_.calls.push_back("Item");
        if (state_.windows.at(static_cast<std::size_t>(index)).itemFails)
            return nullptr;
        return std::make_unique<FakeItem>(state_, index);
    }

private:
    ShellState& state_;
};

class FakeShell final : public ShellAutomation {
public:
    explicit FakeShell(ShellState& state) : state_(state) {}
    std::unique_ptr<ShellWindowCollection> Windows() override {
        state_.calls.push_back("Windows");
        if (state_.windowsFails)
            return nullptr;
        return std::make_unique<FakeCollection>(state_);
    }

private:
    ShellState& state_;
};

constexpr WindowId kExplorerA = 0x1010;
constexpr WindowId kExplorerB = 0x2020;
constexpr WindowId kOtherProgram = 0x3030;
constexpr WindowId kDesktop = 0x4040;
constexpr WindowId kTab1 = 0x5051;
constexpr WindowId kTab2 = 0x5052;

class FakeWindows final : public PressWindows {
public:
    bool IsMinimised(WindowId window) override { return minimised.count(window) != 0; }
    WindowId ForegroundWindow() override { return foreground; }
    bool IsDesktop(WindowId window) override { return window == kDesktop; }
    WindowId ActiveTab(WindowId frame) override { return frame == kExplorerA ? tabOfA : 0; }

    std::set<WindowId> minimised;
    WindowId foreground = kExplorerA;
    WindowId tabOfA = 0;
};

class RecordingTargets final : public FolderTargets {
public:
    std::optional<std::wstring> CreateInFolder(const std::wstring& folder,
                                               const std::vector<std::wstring>& items,
                                               WindowId owner) override {
        created.push_back(folder);
        moved.push_back(items);
        owners.push_back(owner);
        if (refuse)
            return std::nullopt;
        return folder + L"\\New Folder";
    }
    void CreateOnDesktop(PressKind kind) override {
        created.push_back(kind == PressKind::withSelection ? L"<desktop with selection>"
                                                           : L"<desktop>");
    }
    void StartRename(std::unique_ptr<RenameView> view, const std::wstring& path) override {
        if (journal)
            journal->push_back("Rename");
        renames.push_back(path);
        renameViews.push_back(std::move(view));
    }
    std::vector<std::string>* journal = nullptr;
    std::vector<std::wstring> created;
    std::vector<std::vector<std::wstring>> moved;
    std::vector<WindowId> owners;
    std::vector<std::wstring> renames;
    std::vector<std::unique_ptr<RenameView>> renameViews;
    bool refuse = false;
};

class HotKeyPressTest : public ::testing::Test {
protected:
    void SetUp() override { targets.journal = &state.calls; }
    void Press(bool shellCreated = true, PressKind kind = PressKind::newFolder) {
        FakeShell shell(state);
        HandleHotKeyPress(shellCreated ? &shell : nullptr, windows, targets, kind);
    }
    void PressSelectionKey() { Press(true, PressKind::withSelection); }
    ShellState state;
    FakeWindows windows;
    RecordingTargets targets;
};

using Created = std::vector<std::wstring>;

TEST_F(HotKeyPressTest, TheFocusedExplorerWindowGetsTheFolderAndARefresh) {
    state.windows = {{kExplorerB, L"file:///C:/Other", {}},
                     {kExplorerA, L"file:///C:/Data/a%20b", {}}};
    Press();
    EXPECT_EQ(targets.created, (Created{L"C:\\Data\\a b"}));
    EXPECT_EQ(state.refreshed, (std::vector<long>{1}));
    // Windows, Count, Item and HWND per window, LocationURL and Refresh once: 2N + 4.
    EXPECT_EQ(state.calls, (std::vector<std::string>{"Windows", "Count", "Item", "HWND", "Item",
                                                     "HWND", "LocationURL", "Refresh"}));
}

TEST_F(HotKeyPressTest, TheDesktopGetsTheFolderWhenThereIsNoShellWindowToAsk) {
    // No shell windows open at all, whatever has the focus.
    windows.foreground = kOtherProgram;
    Press();
    EXPECT_EQ(targets.created, (Created{L"<desktop>"}));

    // The shell object, its collection or its count can't be had.
    targets.created.clear();
    state.windows = {{kExplorerA, L"file:///C:/Data", {}}};
    Press(false);
    state.windowsFails = true;
    Press();
    state.windowsFails = false;
    state.countFails = true;
    Press();
    EXPECT_EQ(targets.created, (Created{L"<desktop>", L"<desktop>", L"<desktop>"}));
}

TEST_F(HotKeyPressTest, TheDesktopWithTheFocusGetsTheFolder) {
    state.windows = {{kExplorerA, L"file:///C:/Data", {}}, {kExplorerB, L"file:///C:/B", {}}};
    windows.foreground = kDesktop;
    Press();
    EXPECT_EQ(targets.created, (Created{L"<desktop>"}));
    EXPECT_TRUE(state.refreshed.empty());
}

TEST_F(HotKeyPressTest, EveryShellWindowMinimisedAndNoneFocusedSendsOneFolderToTheDesktop) {
    // The user sees the desktop: the focus is on some other program (a hidden window of a
    // tray tool, say), every shell window minimised. One folder, however many tabs.
    state.windows = {{kExplorerA, L"file:///C:/A", kTab1},
                     {kExplorerB, L"file:///C:/B", {}},
                     {kExplorerA, L"file:///C:/A2", kTab2}};
    windows.foreground = kOtherProgram;
    windows.minimised = {kExplorerA, kExplorerB};
    Press();
    EXPECT_EQ(targets.created, (Created{L"<desktop>"}));

    // One shell window still open on the screen: the user isn't looking at the desktop.
    targets.created.clear();
    windows.minimised = {kExplorerA};
    Press();
    EXPECT_TRUE(targets.created.empty());

    // A focused Explorer window gets its folder and never a desktop folder besides, whether
    // it comes first or last and however many of the others are minimised (the focused one
    // too: the foreground may stay on a window minimised a moment ago).
    for (const auto& order : {std::vector<FakeWindow>{{kExplorerA, L"file:///C:/A", {}},
                                                      {kExplorerB, L"file:///C:/B", {}}},
                              std::vector<FakeWindow>{{kExplorerB, L"file:///C:/B", {}},
                                                      {kExplorerA, L"file:///C:/A", {}}}}) {
        targets.created.clear();
        state.windows = order;
        windows.foreground = kExplorerA;
        windows.minimised = {kExplorerA, kExplorerB};
        Press();
        EXPECT_EQ(targets.created, (Created{L"C:\\A"}));
    }
}

TEST_F(HotKeyPressTest, AnotherProgramWithTheFocusGetsNothing) {
    state.windows = {{kExplorerA, L"file:///C:/A", {}}, {kExplorerB, L"file:///C:/B", {}}};
    windows.foreground = kOtherProgram;
    windows.minimised = {kExplorerB};
    Press();
    EXPECT_TRUE(targets.created.empty());
    EXPECT_TRUE(state.refreshed.empty());
}

TEST_F(HotKeyPressTest, TheScanGoesOnAfterTheFocusedWindow) {
    // Two items with the focused frame and no tabs to tell them apart: both get a folder.
    state.windows = {{kExplorerA, L"file:///C:/A", {}},
                     {kExplorerB, L"file:///C:/B", {}},
                     {kExplorerA, L"file:///D:/A2", {}}};
    Press();
    EXPECT_EQ(targets.created, (Created{L"C:\\A", L"D:\\A2"}));
    EXPECT_EQ(state.refreshed, (std::vector<long>{0, 2}));
}

TEST_F(HotKeyPressTest, AWindowThatClosesDuringTheScanIsSkipped) {
    state.windows = {{kExplorerB, L"file:///C:/B", {}, true}, // Item fails
                     {std::nullopt, L"file:///C:/X", {}},     // HWND fails
                     {kExplorerA, std::nullopt, {}},          // LocationURL fails
                     {kExplorerA, L"file:///C:/A", {}}};
    windows.minimised = {kExplorerB};
    Press();
    EXPECT_EQ(targets.created, (Created{L"C:\\A"}));
    EXPECT_EQ(state.refreshed, (std::vector<long>{3}));
}

TEST_F(HotKeyPressTest, ALocationThatIsNoFolderOnDiskCreatesNothingAndRefreshesNothing) {
    for (const wchar_t* location : {L"", L"::{26EE0668-A00A-44D7-9371-BEB064C98683}",
                                    L"search-ms:query=x", L"http://example.org/"}) {
        state.windows = {{kExplorerA, location, {}}};
        Press();
    }
    EXPECT_TRUE(targets.created.empty());
    EXPECT_TRUE(state.refreshed.empty());
}

TEST_F(HotKeyPressTest, OnlyTheActiveTabOfATabbedWindowGetsAFolder) {
    state.windows = {{kExplorerA, L"file:///C:/Tab1", kTab1},
                     {kExplorerB, L"file:///C:/B", {}},
                     {kExplorerA, L"file:///C:/Tab2", kTab2}};
    windows.tabOfA = kTab2;
    Press();
    EXPECT_EQ(targets.created, (Created{L"C:\\Tab2"}));
    EXPECT_EQ(state.refreshed, (std::vector<long>{2}));
    // The inactive tab's location is never asked for.
    EXPECT_EQ(std::count(state.calls.begin(), state.calls.end(), "LocationURL"), 1);

    // A tab no item reports: the rule for windows without tabs stands.
    targets.created.clear();
    windows.tabOfA = 0x9999;
    Press();
    EXPECT_EQ(targets.created, (Created{L"C:\\Tab1", L"C:\\Tab2"}));
}

TEST_F(HotKeyPressTest, AFailingRefreshEndsThePressWithAnErrorAfterItsFolder) {
    state.windows = {{kExplorerA, L"file:///C:/A", {}, false, true},
                     {kExplorerB, L"file:///C:/B", {}}};
    EXPECT_THROW(Press(), std::runtime_error);
    // The folder already made stays.
    EXPECT_EQ(targets.created, (Created{L"C:\\A"}));
}

using Paths = std::vector<std::wstring>;

TEST_F(HotKeyPressTest, TheNewFolderIsRenamedInTheFocusedWindowsViewAfterItsRefresh) {
    state.windows = {{kExplorerB, L"file:///C:/B", {}, false, false, true},
                     {kExplorerA, L"file:///C:/A", {}, false, false, true, {L"C:\\A\\x"}}};
    Press();
    EXPECT_EQ(targets.renames, (Created{L"C:\\A\\New Folder"}));
    ASSERT_EQ(targets.renameViews.size(), 1u);
    EXPECT_NE(targets.renameViews[0], nullptr);
    // A plain press never asks what is selected, and moves nothing.
    EXPECT_EQ(targets.moved, (std::vector<Paths>{{}}));
    EXPECT_EQ(state.calls, (std::vector<std::string>{"Windows", "Count", "Item", "HWND", "Item",
                                                     "HWND", "LocationURL", "Refresh", "Rename"}));
}

TEST_F(HotKeyPressTest, TheSelectionKeyMovesTheFocusedViewsSelectionOwnedByItsWindow) {
    state.windows = {
        {kExplorerB, L"file:///C:/B", {}, false, false, true, {L"C:\\B\\no"}},
        {kExplorerA, L"file:///C:/A", {}, false, false, true, {L"C:\\A\\x", L"C:\\A\\y"}}};
    PressSelectionKey();
    EXPECT_EQ(targets.created, (Created{L"C:\\A"}));
    EXPECT_EQ(targets.moved, (std::vector<Paths>{{L"C:\\A\\x", L"C:\\A\\y"}}));
    EXPECT_EQ(targets.owners, (std::vector<WindowId>{kExplorerA}));
    EXPECT_EQ(targets.renames, (Created{L"C:\\A\\New Folder"}));
    // The selection is read once, before the folder is made; the rename comes last.
    EXPECT_EQ(std::count(state.calls.begin(), state.calls.end(), "GetSelection"), 1);
    EXPECT_EQ(state.calls.back(), "Rename");
}

TEST_F(HotKeyPressTest, NoViewOrNoFolderMeansNoRenameButTheRestOfThePressStands) {
    // The view can't be reached: the folder and the refresh all the same, nothing moved.
    state.windows = {{kExplorerA, L"file:///C:/A", {}}};
    PressSelectionKey();
    EXPECT_EQ(targets.created, (Created{L"C:\\A"}));
    EXPECT_EQ(targets.moved, (std::vector<Paths>{{}}));
    EXPECT_EQ(state.refreshed.size(), 1u);
    EXPECT_TRUE(targets.renames.empty());

    // No folder made: nothing to rename.
    state.windows = {{kExplorerA, L"file:///C:/A", {}, false, false, true, {L"C:\\A\\x"}}};
    targets.refuse = true;
    PressSelectionKey();
    EXPECT_TRUE(targets.renames.empty());
}

TEST_F(HotKeyPressTest, ASelectionInAWindowWithoutAFolderOnDiskIsNeverRead) {
    state.windows = {{kExplorerA, L"search-ms:query=x", {}, false, false, true, {L"C:\\A\\x"}}};
    PressSelectionKey();
    EXPECT_TRUE(targets.created.empty());
    EXPECT_EQ(std::count(state.calls.begin(), state.calls.end(), "GetSelection"), 0);
}

TEST_F(HotKeyPressTest, TheDesktopCasesCarryTheKindOfPress) {
    windows.foreground = kDesktop;
    state.windows = {{kExplorerA, L"file:///C:/A", {}}};
    PressSelectionKey();
    Press();
    // No shell window at all.
    state.windows.clear();
    PressSelectionKey();
    EXPECT_EQ(targets.created,
              (Created{L"<desktop with selection>", L"<desktop>", L"<desktop with selection>"}));
}

} // namespace
} // namespace nestora::app
