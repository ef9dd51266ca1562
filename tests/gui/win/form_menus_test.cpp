// Forms and controls with menus: a control's popup menu on the right button or the menu
// key, a form's main menu on its window with its key shortcuts, and both links cleared when
// the menu goes.
#include "app_test_support.h"

#include "gui/win/edit.h"
#include "gui/win/main_menu.h"
#include "gui/win/panel.h"
#include "gui/win/popup_menu.h"

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;

// Records where it would pop up instead of running the modal menu loop.
class TRecordingPopupMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override { shownAt.push_back(POINT{x, y}); }
    std::vector<POINT> shownAt;
};

class FormMenusTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBounds(100, 100, 300, 200);
        panel = Create<TPanel>(form);
        panel->SetParent(form);
        panel->SetBounds(10, 20, 100, 50);
    }
    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(FormMenusTest, ARightClickOrTheMenuKeyPopsUpTheControlsMenu) {
    auto* menu = Create<TRecordingPopupMenu>(form);
    panel->SetPopupMenu(menu);
    ::SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()),
                   MAKELPARAM(150, 260));
    ASSERT_EQ(menu->shownAt.size(), 1u);
    EXPECT_EQ(menu->shownAt[0].x, 150);
    EXPECT_EQ(menu->shownAt[0].y, 260);
    EXPECT_EQ(menu->PopupComponent(), panel);
    // From the keyboard (-1, -1): at the control's corner on the screen.
    ::SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()),
                   MAKELPARAM(-1, -1));
    POINT corner{0, 0};
    ::ClientToScreen(panel->Handle(), &corner);
    ASSERT_EQ(menu->shownAt.size(), 2u);
    EXPECT_EQ(menu->shownAt[1].x, corner.x);
    EXPECT_EQ(menu->shownAt[1].y, corner.y);
    menu->SetAutoPopup(false);
    ::SendMessageW(panel->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(menu->shownAt.size(), 2u);
    menu->Free();
    EXPECT_EQ(panel->PopupMenu(), nullptr);
}

TEST_F(FormMenusTest, TheMainMenuSitsOnTheWindowAndAnswersShortcuts) {
    auto* menu = Create<TMainMenu>(form);
    auto* file = Create<TMenuItem>(form);
    file->SetCaption(L"&File");
    menu->Items().Add(file);
    auto* save = Create<TMenuItem>(form);
    save->SetCaption(L"&Save");
    save->SetShortCut(0x4053); // Ctrl+S
    int saves = 0;
    save->SetOnClick([&](TObject*) { ++saves; });
    file->Add(save);
    form->SetMenu(menu);
    EXPECT_EQ(::GetMenu(form->Handle()), menu->Handle());

    auto* edit = Create<TEdit>(form);
    edit->SetParent(form);
    std::vector<unsigned short> editKeys;
    edit->SetOnKeyDown([&](TObject*, unsigned short& key, TShiftState) { editKeys.push_back(key); });
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE state[256] = {};
    state[VK_CONTROL] = 0x80;
    ::SetKeyboardState(state);
    ::SendMessageW(edit->Handle(), WM_KEYDOWN, 'S', 1);
    ::SendMessageW(edit->Handle(), WM_KEYDOWN, 'T', 1);
    ::SetKeyboardState(saved);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(editKeys, (std::vector<unsigned short>{'T'})); // the shortcut went no further

    menu->Free();
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(::GetMenu(form->Handle()), nullptr);
}

TEST_F(FormMenusTest, AMenuSetBeforeTheWindowIsAttachedWhenItIsMade) {
    auto* menu = Create<TMainMenu>(form);
    auto* item = Create<TMenuItem>(form);
    item->SetCaption(L"&Help");
    menu->Items().Add(item);
    form->SetMenu(menu);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(::GetMenu(form->Handle()), menu->Handle());
    form->SetMenu(nullptr);
    EXPECT_EQ(::GetMenu(form->Handle()), nullptr);
}

} // namespace
