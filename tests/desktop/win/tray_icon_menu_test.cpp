// The tray icon's popup menu: which button pops it up, where, with whom recorded as its
// invoker, what a double-click does with a default item, and references that go when the
// menu goes.
#include "tray_test_support.h"

#include "gui/win/handles.h"
#include "gui/win/popup_menu.h"
#include "tests/support/win/menu_probe.h"

#include <gtest/gtest.h>

namespace {

using nestora::desktop::TabfTrayIcon;
using nestora::desktop::testing::TrayIconTest;

// A menu that records its popups instead of tracking a real menu (which would wait for
// the user).
class TRecordingMenu : public nestora::gui::TPopupMenu {
public:
    TRecordingMenu(nestora::gui::TComponent* owner, std::vector<std::wstring>* journal)
        : nestora::gui::TPopupMenu(owner), journal_(journal) {}
    void Popup(int x, int y) override {
        journal_->push_back(L"popup");
        at = POINT{x, y};
        invoker = PopupComponent();
        if (onPopupDo)
            onPopupDo();
    }
    POINT at{};
    nestora::gui::TComponent* invoker = nullptr;
    std::function<void()> onPopupDo;

private:
    std::vector<std::wstring>* journal_;
};

class TrayMenuTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        tray = MakeTray();
        Journal(*tray);
        menu = nestora::gui::Create<TRecordingMenu>(form, &journal);
        show = menu->Items().AddItem(L"Show",
                                     [this](nestora::gui::TObject*) { journal.push_back(L"item show"); });
        menu->Items().AddItem(L"Exit", [this](nestora::gui::TObject*) { journal.push_back(L"item exit"); });
        tray->SetPopupMenu(menu);
    }
    TabfTrayIcon* tray = nullptr;
    TRecordingMenu* menu = nullptr;
    nestora::gui::TMenuItem* show = nullptr;
};

TEST_F(TrayMenuTest, TheRightButtonPopsTheMenuUpAtTheCursorWithTheIconAsInvoker) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    Report(*tray, WM_RBUTTONDOWN);
    Report(*tray, WM_RBUTTONUP);
    EXPECT_EQ(journal,
              (std::vector<std::wstring>{L"down right", L"up right", L"popup", L"popupmenu"}));
    EXPECT_EQ(menu->at.x, cursor.x);
    EXPECT_EQ(menu->at.y, cursor.y);
    EXPECT_EQ(menu->invoker, tray);
    // The left button only with PopupByLeft (after its click); the right one always.
    journal.clear();
    Report(*tray, WM_LBUTTONDOWN);
    Report(*tray, WM_LBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"down left", L"up left", L"click"}));
    tray->SetPopupByLeft(true);
    journal.clear();
    Report(*tray, WM_LBUTTONDOWN);
    Report(*tray, WM_LBUTTONUP);
    Report(*tray, WM_RBUTTONUP);
    EXPECT_EQ(journal,
              (std::vector<std::wstring>{L"down left", L"up left", L"click", L"popup", L"popupmenu",
                                         L"up right", L"popup", L"popupmenu"}));
}

TEST_F(TrayMenuTest, WithoutAutoPopupOrWithoutAMenuNothingPopsUp) {
    menu->SetAutoPopup(false);
    Report(*tray, WM_RBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"up right"}));
    menu->SetAutoPopup(true);
    menu->Free(); // the reference goes with it
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    journal.clear();
    Report(*tray, WM_RBUTTONUP);
    Report(*tray, WM_LBUTTONDBLCLK);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"up right", L"dblclick"}));
}

TEST_F(TrayMenuTest, ADoubleClickChoosesTheDefaultItemUnlessTheLeftButtonPopsUp) {
    tray->SetMinimizeToTray(true);
    form->Show();
    show->SetDefault(true);
    Report(*tray, WM_LBUTTONDBLCLK);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"item show", L"dblclick"}));
    EXPECT_TRUE(form->Visible()); // the default item, not show-or-hide

    // With PopupByLeft the default item is left alone: the application is hidden.
    tray->SetPopupByLeft(true);
    journal.clear();
    Report(*tray, WM_LBUTTONDBLCLK);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"dblclick"}));
    EXPECT_FALSE(form->Visible());
}

TEST_F(TrayMenuTest, ATrayIconFreedWhileItsMenuIsOpenRaisesNothingAfterwards) {
    menu->onPopupDo = [this] { tray->Free(); };
    const HWND hidden = tray->WindowHandle();
    ::SendMessageW(hidden, TabfTrayIcon::kCallbackMessage, 0, WM_RBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"up right", L"popup"}));
    EXPECT_FALSE(::IsWindow(hidden));
    EXPECT_EQ(menu->PopupComponent(), nullptr); // cleared when its invoker went
}

// A real menu, closed from inside its loop as a click elsewhere would, over a real window
// of the user's that had the foreground before.
TEST_F(TrayIconTest, AMenuClosedWithoutShowingTheWindowGivesTheForegroundBack) {
    auto* tray = MakeTray();
    auto* menu = nestora::gui::Create<nestora::gui::TPopupMenu>(form);
    menu->Items().AddItem(L"Item", [](nestora::gui::TObject*) {});
    tray->SetPopupMenu(menu);
    ASSERT_NE(form->Handle(), nullptr);
    ASSERT_FALSE(form->Visible());
    const nestora::gui::UniqueWindow user(::CreateWindowExW(0, L"STATIC", L"the user's window",
                                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                                   200, nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(user.get());
    ASSERT_EQ(::GetForegroundWindow(), user.get());

    nestora::testing::OpenMenuProbe::Arm();
    Report(*tray, WM_RBUTTONDOWN);
    Report(*tray, WM_RBUTTONUP);
    EXPECT_EQ(nestora::testing::OpenMenuProbe::runs, 1);
    Pump(100);
    EXPECT_EQ(::GetForegroundWindow(), user.get());

    // A window shown keeps the foreground the menu gave it.
    form->Show();
    ::SetForegroundWindow(user.get());
    nestora::testing::OpenMenuProbe::Arm();
    Report(*tray, WM_RBUTTONUP);
    Pump(100);
    EXPECT_EQ(::GetForegroundWindow(), form->Handle());
}

} // namespace
