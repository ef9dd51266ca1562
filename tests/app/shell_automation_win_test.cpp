// The late-bound calls of a hotkey press against an in-process automation object that
// answers `Windows`, `Count`, `Item`, `HWND`, `LocationURL` and `Refresh` by name
// (GetIDsOfNames + Invoke), as the shell's "Shell.Application" does; its window items also
// answer IServiceProvider with a top-level browser, as tabs of a tabbed Explorer do. The
// real calling code runs against it, and every Invoke is counted.
#include "app/win_shell_automation.h"

#include "gui/core/exceptions.h"

#include "tests/support/win/stand_in_shell.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace nestora::app {
namespace {

using nestora::testing::AutomationCalls;
using nestora::testing::MakeAutomationObject;
using nestora::testing::ShellWindow;

HWND FakeWindow(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

class ShellAutomationTest : public ::testing::Test {
protected:
    // Builds "Shell.Application" with these windows; the collection's Item fails past the
    // end, as the shell's does when a window closed since Count.
    ComPtr<IDispatch> ShellWith(std::vector<ShellWindow> list) {
        return nestora::testing::MakeStandInShell(calls, std::move(list), countOffset);
    }

    void Press(const ComPtr<IDispatch>& shellObject) {
        const auto shell = ShellAutomationOver(shellObject);
        HandleHotKeyPress(shell.get(), windows, targets);
    }

    class Windows final : public PressWindows {
    public:
        bool IsMinimised(WindowId window) override { return minimised.count(window) != 0; }
        WindowId ForegroundWindow() override { return foreground; }
        bool IsDesktop(WindowId window) override { return window == desktop; }
        WindowId ActiveTab(WindowId frame) override { return frame == foreground ? tab : 0; }
        std::set<WindowId> minimised;
        WindowId foreground = 0x10010;
        WindowId desktop = 0x10000;
        WindowId tab = 0;
    };
    class Targets final : public FolderTargets {
    public:
        std::optional<std::wstring> CreateInFolder(const std::wstring& folder,
                                                   const std::vector<std::wstring>&,
                                                   WindowId) override {
            created.push_back(folder);
            return std::nullopt;
        }
        void CreateOnDesktop(PressKind) override { created.push_back(L"<desktop>"); }
        std::vector<std::wstring> created;
    };

    std::shared_ptr<AutomationCalls> calls = std::make_shared<AutomationCalls>();
    LONG countOffset = 0;
    Windows windows;
    Targets targets;
};

using Texts = std::vector<std::wstring>;

TEST_F(ShellAutomationTest, TheFocusedWindowGetsTheFolderAndARefreshIn2NPlus4Calls) {
    Press(ShellWith({{0x20020, L"file:///C:/Other"},
                     {0x10010, L"file:///C:/Data/%D0%9F%D0%B0%D0%BF%D0%BA%D0%B0"},
                     {0x30030, L"file:///C:/Third"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\Data\\Папка"}));
    EXPECT_EQ(calls->refreshed, (std::vector<std::size_t>{1}));
    // The focused window is acted on once the scan has seen every window (its tabs too).
    EXPECT_EQ(calls->invoked, (Texts{L"Windows", L"Count", L"Item", L"HWND", L"Item", L"HWND",
                                     L"Item", L"HWND", L"LocationURL", L"Refresh"}));
    EXPECT_EQ(calls->invoked.size(), 2 * 3 + 4u);
}

TEST_F(ShellAutomationTest, TheDesktopCases) {
    // No shell window open.
    Press(ShellWith({}));
    // The desktop has the focus.
    windows.foreground = windows.desktop;
    Press(ShellWith({{0x10010, L"file:///C:/A"}, {0x20020, L"file:///C:/B"}}));
    // Every shell window minimised, the focus on another program.
    windows.foreground = 0x50050;
    windows.minimised = {0x10010, 0x20020};
    Press(ShellWith({{0x10010, L"file:///C:/A"}, {0x20020, L"file:///C:/B"}}));
    EXPECT_EQ(targets.created, (Texts{L"<desktop>", L"<desktop>", L"<desktop>"}));
    EXPECT_TRUE(calls->refreshed.empty());
}

TEST_F(ShellAutomationTest, AShellObjectWithoutAWindowListSendsThePressToTheDesktop) {
    // Wine's shell object answers Windows with E_NOTIMPL.
    Press(MakeAutomationObject(
        calls, {{L"Windows", [](const DISPPARAMS&, VARIANT*) { return E_NOTIMPL; }}}));
    // One that knows no such member at all.
    Press(MakeAutomationObject(calls, {}));
    // No shell object.
    HandleHotKeyPress(nullptr, windows, targets);
    EXPECT_EQ(targets.created, (Texts{L"<desktop>", L"<desktop>", L"<desktop>"}));
}

TEST_F(ShellAutomationTest, TheScanGoesOnAfterAMatchAndSkipsWindowsThatVanish) {
    windows.minimised = {0x10010, 0x20020, 0x40040};
    // The focused window first; then one that closes during the scan, then one without
    // focus: the focused window's folder alone, never a second one on the desktop.
    Press(ShellWith({{0x10010, L"file:///C:/A"},
                     {0x40040, L"file:///C:/Gone", nullptr, true},
                     {0x20020, L"file:///C:/B"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\A"}));

    // Count says more windows than there are: the missing items are skipped.
    targets.created.clear();
    windows.minimised.clear();
    countOffset = 2;
    Press(ShellWith({{0x20020, L"file:///C:/B"}, {0x10010, L"file:///C:/A"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\A"}));
}

TEST_F(ShellAutomationTest, OnlyTheActiveTabOfATabbedExplorerGetsAFolder) {
    const HWND firstTab = FakeWindow(0x10011);
    const HWND secondTab = FakeWindow(0x10012);
    windows.tab = 0x10012;
    Press(ShellWith(
        {{0x10010, L"file:///C:/Tab1", firstTab}, {0x10010, L"file:///C:/Tab2", secondTab}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\Tab2"}));
    EXPECT_EQ(calls->refreshed, (std::vector<std::size_t>{1}));
    EXPECT_EQ(calls->invoked.size(), 2 * 2 + 4u);
}

TEST_F(ShellAutomationTest, AFailingRefreshIsReportedWithTheObjectsError) {
    try {
        Press(ShellWith({{0x10010, L"file:///C:/A", nullptr, false, DISP_E_UNKNOWNNAME}}));
        FAIL() << "no error";
    } catch (const gui::Exception& e) {
        EXPECT_EQ(e.Message(), L"Method 'Refresh' not supported by automation object");
    }
    EXPECT_EQ(targets.created, (Texts{L"C:\\A"}));
}

TEST(AutomationErrorTextTest, SaysWhatWentWrong) {
    EXPECT_EQ(AutomationErrorText(L"Count", DISP_E_UNKNOWNNAME, L""),
              L"Method 'Count' not supported by automation object");
    EXPECT_EQ(AutomationErrorText(L"Refresh", E_FAIL, L"The window is gone"),
              L"The window is gone");
    EXPECT_FALSE(AutomationErrorText(L"Refresh", E_OUTOFMEMORY, L"").empty());
    // A code with the customer bit has no system text: its number, eight digits.
    EXPECT_EQ(AutomationErrorText(L"Refresh", static_cast<long>(0xA00B1234u), L""),
              L"OLE error A00B1234");
}

} // namespace
} // namespace nestora::app
