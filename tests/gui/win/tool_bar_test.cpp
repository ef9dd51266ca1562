// TToolBar on a form: buttons in the comctl32 control, buttons standing for menu items and
// opening their sub-menus under themselves (with Left/Right between them), the two
// custom-draw events painted into a memory bitmap and checked pixel by pixel, sizes, and
// who frees what.
#include "gui/win/tool_bar.h"

#include "gui/core/class_info.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/graphics_color.h"
#include "gui/win/main_menu.h"

#include "app_test_support.h"
#include "graphics_test_support.h"
#include "menu_test_support.h"

#include <string>
#include <vector>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::OpenMenuWindow;
using nestora::gui::testing::PixelOf;
using nestora::gui::testing::PostKey;
using nestora::gui::testing::PumpMessages;
using nestora::gui::testing::Steps;

std::wstring ButtonText(HWND bar, int command) {
    wchar_t text[128] = {};
    ::SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command),
                   reinterpret_cast<LPARAM>(text));
    return text;
}

BYTE ButtonStyle(HWND bar, int command) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE;
    ::SendMessageW(bar, TB_GETBUTTONINFOW, static_cast<WPARAM>(command),
                   reinterpret_cast<LPARAM>(&info));
    return info.fsStyle;
}

class ToolBarTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(50, 50, 320, 120);
        bar = Create<TToolBar>(form);
        bar->SetParent(form);
        menu = Create<TMainMenu>(form);
        file = menu->Items().AddItem(L"&File");
        file->AddItem(L"&Open", [this](TObject*) { log += L"open;"; });
        file->AddItem(L"E&xit", [this](TObject*) { log += L"exit;"; });
        edit = menu->Items().AddItem(L"&Edit");
        edit->AddItem(L"&Copy", [this](TObject*) { log += L"copy;"; });
        help = menu->Items().AddItem(L"&Help", [this](TObject*) { log += L"help;"; });
    }
    TToolButton* AddButton(TMenuItem* item) {
        auto* b = Create<TToolButton>(form);
        b->SetToolBar(bar);
        b->SetGrouped(true);
        b->SetAutoSize(true);
        b->SetMenuItem(item);
        return b;
    }
    TForm* form = nullptr;
    TToolBar* bar = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *edit = nullptr, *help = nullptr;
    std::wstring log;
};

TEST_F(ToolBarTest, AFlatBarOfCaptionButtons) {
    TToolButton* a = AddButton(file);
    auto* plain = Create<TToolButton>(form);
    plain->SetCaption(L"Plain");
    plain->SetToolBar(bar);
    form->HandleNeeded();
    const HWND window = bar->Handle();
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_TRUE(style & CCS_NODIVIDER);
    EXPECT_FALSE(style & WS_BORDER);
    EXPECT_FALSE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(::SendMessageW(window, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(ButtonText(window, a->Command()), L"&File");
    EXPECT_EQ(ButtonText(window, plain->Command()), L"Plain");
    EXPECT_TRUE(ButtonStyle(window, a->Command()) & BTNS_GROUP);
    EXPECT_TRUE(ButtonStyle(window, a->Command()) & BTNS_AUTOSIZE);
    EXPECT_TRUE(ButtonStyle(window, a->Command()) & BTNS_WHOLEDROPDOWN);
    EXPECT_FALSE(ButtonStyle(window, plain->Command()) & BTNS_WHOLEDROPDOWN);
    plain->SetEnabled(false);
    EXPECT_FALSE(
        ::SendMessageW(window, TB_ISBUTTONENABLED, static_cast<WPARAM>(plain->Command()), 0));
    plain->SetVisible(false);
    EXPECT_TRUE(
        ::SendMessageW(window, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(plain->Command()), 0));
    EXPECT_TRUE(plain->BoundsRect().IsEmpty());
    EXPECT_FALSE(a->BoundsRect().IsEmpty());
    // Order and moves.
    plain->SetIndex(0);
    EXPECT_EQ(bar->Buttons(0), plain);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(ButtonText(window, a->Command()), L"&File");
}

TEST_F(ToolBarTest, MenuButtonsShowTheirItemsAndForgetThemWhenTheyGo) {
    TToolButton* b = AddButton(help);
    form->HandleNeeded();
    EXPECT_EQ(b->Caption(), L"&Help");
    help->SetCaption(L"&Hilfe");
    help->SetEnabled(false);
    bar->RefreshMenuButtons();
    EXPECT_EQ(ButtonText(bar->Handle(), b->Command()), L"&Hilfe");
    EXPECT_FALSE(
        ::SendMessageW(bar->Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(b->Command()), 0));
    help->Free();
    EXPECT_EQ(b->MenuItem(), nullptr);
    EXPECT_EQ(b->Caption(), L"&Hilfe"); // keeps what it showed
}

TEST_F(ToolBarTest, PlainButtonsClickAndCheckButtonsKeepOneDownPerGroup) {
    int clicks = 0;
    std::vector<TToolButton*> checks;
    for (int i = 0; i < 3; ++i) {
        auto* b = Create<TToolButton>(form);
        b->SetStyle(TToolButtonStyle::tbsCheck);
        b->SetGrouped(i == 0);
        b->SetOnClick([&](TObject*) { ++clicks; });
        b->SetToolBar(bar);
        checks.push_back(b);
    }
    TToolButton* helpButton = AddButton(help);
    form->HandleNeeded();
    const auto click = [&](TToolButton* b) {
        ::SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(b->Command(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(bar->Handle()));
    };
    click(checks[1]);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(checks[1]->Down());
    checks[2]->SetDown(true);
    EXPECT_FALSE(checks[1]->Down());
    EXPECT_TRUE(::SendMessageW(bar->Handle(), TB_ISBUTTONCHECKED,
                               static_cast<WPARAM>(checks[2]->Command()), 0));
    // A menu button whose item has no sub-items clicks the item.
    click(helpButton);
    EXPECT_EQ(log, L"help;");
}

TEST_F(ToolBarTest, AMenuButtonOpensItsSubMenuUnderItselfAndTheChoiceClicks) {
    TToolButton* fileButton = AddButton(file);
    AddButton(edit);
    form->Show();
    PumpMessages();
    const TRect button = fileButton->BoundsRect();
    POINT bottomLeft{button.Left, button.Bottom};
    ::ClientToScreen(bar->Handle(), &bottomLeft);
    RECT menuRect{};
    bool pressed = false, tracked = false;
    Steps steps({[&] {
        HWND open = OpenMenuWindow();
        ASSERT_NE(open, nullptr);
        ::GetWindowRect(open, &menuRect);
        pressed = ::SendMessageW(bar->Handle(), TB_ISBUTTONPRESSED,
                                 static_cast<WPARAM>(fileButton->Command()), 0) != 0;
        tracked = bar->TrackedButton() == fileButton;
        PostKey(open, VK_DOWN);
        PostKey(open, VK_DOWN);
        PostKey(open, VK_RETURN);
    }});
    bar->TrackMenu(fileButton);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(tracked);
    EXPECT_EQ(menuRect.left, bottomLeft.x);
    EXPECT_EQ(menuRect.top, bottomLeft.y);
    EXPECT_EQ(bar->TrackedButton(), nullptr);
    EXPECT_FALSE(::SendMessageW(bar->Handle(), TB_ISBUTTONPRESSED,
                                static_cast<WPARAM>(fileButton->Command()), 0));
    EXPECT_EQ(log, L""); // the command is posted: it comes with the next messages
    PumpMessages();
    EXPECT_EQ(log, L"exit;");
}

TEST_F(ToolBarTest, PressingTheMouseOnAMenuButtonOpensItsMenu) {
    TToolButton* editButton = AddButton(edit);
    form->Show();
    PumpMessages();
    const TRect r = editButton->BoundsRect();
    bool opened = false;
    Steps steps({[&] {
        opened = OpenMenuWindow() != nullptr && bar->TrackedButton() == editButton;
        ::EndMenu();
    }});
    const LPARAM at = MAKELPARAM(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    ::PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(PumpUntil([&] { return steps.Done(); }, 3000));
    EXPECT_TRUE(opened);
    PumpMessages();
}

TEST_F(ToolBarTest, LeftAndRightMoveBetweenTheMenusOfTheBar) {
    TToolButton* fileButton = AddButton(file);
    TToolButton* editButton = AddButton(edit);
    AddButton(help); // no sub-menu: skipped
    form->Show();
    PumpMessages();
    std::vector<TToolButton*> seen;
    Steps steps({[&] {
                     seen.push_back(bar->TrackedButton());
                     PostKey(OpenMenuWindow(), VK_RIGHT);
                 },
                 [&] {
                     seen.push_back(bar->TrackedButton());
                     PostKey(OpenMenuWindow(), VK_RIGHT); // wraps around to File
                 },
                 [&] {
                     seen.push_back(bar->TrackedButton());
                     PostKey(OpenMenuWindow(), VK_LEFT);
                 },
                 [&] {
                     seen.push_back(bar->TrackedButton());
                     ::EndMenu();
                 }});
    bar->TrackMenu(fileButton);
    EXPECT_EQ(seen, (std::vector<TToolButton*>{fileButton, editButton, fileButton, editButton}));
    EXPECT_EQ(bar->TrackedButton(), nullptr);
    PumpMessages();
    EXPECT_EQ(log, L"");
}

class ToolBarPaint : public ToolBarTest {
protected:
    void SetUp() override {
        ToolBarTest::SetUp();
        first = AddButton(file);
        second = AddButton(edit);
        bar->SetColor(clYellow);
        form->HandleNeeded();
        MakeFilled(target, bar->Width(), bar->Height(), clBlack);
    }
    void Print() {
        ::SendMessageW(bar->Handle(), WM_ERASEBKGND,
                       reinterpret_cast<WPARAM>(target.Canvas().Handle()), 0);
        ::SendMessageW(bar->Handle(), WM_PRINTCLIENT,
                       reinterpret_cast<WPARAM>(target.Canvas().Handle()), PRF_CLIENT);
    }
    TRect Empty() const { return MakeRect(bar->Width() - 10, 0, bar->Width(), bar->Height()); }
    TToolButton *first = nullptr, *second = nullptr;
    TBitmap target;
};

TEST_F(ToolBarPaint, TheBackgroundIsTheBarsColourUnlessAHandlerPaintsIt) {
    Print();
    EXPECT_EQ(CountColor(target, Empty(), clYellow), Empty().Width() * Empty().Height());
    int backgrounds = 0;
    TRect seenRect;
    bar->SetOnCustomDraw([&](TToolBar* sender, TCanvas& canvas, const TRect& rect, bool&) {
        EXPECT_EQ(sender, bar);
        ++backgrounds;
        seenRect = rect;
        canvas.Brush().SetColor(clLime);
        canvas.FillRect(rect);
    });
    Print();
    EXPECT_GE(backgrounds, 1);
    EXPECT_EQ(seenRect.Right, bar->ClientRect().Right);
    EXPECT_EQ(CountColor(target, Empty(), clLime), Empty().Width() * Empty().Height());
}

TEST_F(ToolBarPaint, ButtonHandlersDrawThemselvesOrChangeTheDefaultFont) {
    std::vector<TCustomDrawState> states;
    bool backgroundOnly = false;
    bar->SetOnCustomDrawButton([&](TToolBar*, TToolButton* button, TCanvas& canvas,
                                   const TRect& rect, TCustomDrawState state, bool& defaultDraw) {
        EXPECT_FALSE(backgroundOnly);
        if (button == first) {
            states.push_back(state);
            canvas.Brush().SetColor(clRed);
            canvas.FillRect(rect);
            defaultDraw = false;
        } else {
            canvas.Font().SetColor(clBlue);
        }
    });
    Print();
    const TRect r1 = first->BoundsRect();
    const TRect r2 = second->BoundsRect();
    EXPECT_EQ(CountColor(target, r1, clRed), r1.Width() * r1.Height());
    EXPECT_GT(CountColor(target, r2, clBlue), 0); // the bar's own caption, in the new colour
    EXPECT_EQ(CountColor(target, r2, clRed), 0);

    // States: hot, pressed, disabled, checked.
    ::SendMessageW(bar->Handle(), TB_SETHOTITEM, 0, 0);
    Print();
    ::SendMessageW(bar->Handle(), TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    ::SendMessageW(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(first->Command()), TRUE);
    Print();
    ::SendMessageW(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(first->Command()), FALSE);
    file->SetEnabled(false);
    bar->RefreshMenuButtons();
    Print();
    ASSERT_EQ(states.size(), 4u);
    EXPECT_EQ(states[0], 0u);
    EXPECT_TRUE(states[1] & cdsHot);
    EXPECT_TRUE(states[2] & cdsSelected);
    EXPECT_TRUE(states[3] & cdsDisabled);

    // A background handler that draws everything keeps the buttons from being drawn.
    bar->SetOnCustomDraw([&](TToolBar*, TCanvas&, const TRect&, bool& defaultDraw) {
        defaultDraw = false;
        backgroundOnly = true;
    });
    Print();
}

TEST_F(ToolBarPaint, RepeatedPaintsLeakNothing) {
    bar->SetOnCustomDrawButton([](TToolBar*, TToolButton*, TCanvas& canvas, const TRect&,
                                  TCustomDrawState, bool&) { canvas.Font().SetStyle(fsBold); });
    Print();
    const nestora::gui::testing::LiveHandles before;
    for (int i = 0; i < 300; ++i)
        Print();
    const nestora::gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

TEST_F(ToolBarTest, SizesFollowTheButtons) {
    TToolButton* b = AddButton(file);
    form->HandleNeeded();
    bar->SetButtonHeight(30);
    EXPECT_EQ(b->BoundsRect().Height(), 30);
    bar->SetAutoSize(true);
    EXPECT_EQ(bar->Height(), b->BoundsRect().Bottom);
    bar->SetButtonHeight(24);
    EXPECT_EQ(bar->Height(), b->BoundsRect().Bottom);
    EXPECT_EQ(b->BoundsRect().Height(), 24);
}

TEST_F(ToolBarTest, ABarFreesItsButtonsAndAButtonLeavesItsBar) {
    TToolButton* a = AddButton(file);
    AddButton(edit);
    form->HandleNeeded();
    const int owned = form->ComponentCount();
    a->Free();
    EXPECT_EQ(bar->ButtonCount(), 1);
    EXPECT_EQ(::SendMessageW(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 1);
    bar->Free();
    EXPECT_EQ(form->ComponentCount(), owned - 3); // a, the bar and the remaining button
}

TEST_F(ToolBarTest, ButtonsNestInTheBarOfADescription) {
    auto* b = Create<TToolButton>(form);
    b->SetParentComponent(bar);
    EXPECT_EQ(b->ToolBar(), bar);
    SetPropertyValue(*b, "MenuItem", PropertyValue(static_cast<TComponent*>(edit)));
    SetPropertyValue(*b, "Grouped", PropertyValue(true));
    EXPECT_EQ(b->MenuItem(), edit);
    EXPECT_TRUE(b->Grouped());
    EXPECT_NE(TToolBar::StaticClassInfo().GetFactory(), nullptr);
    EXPECT_NE(TToolButton::StaticClassInfo().GetFactory(), nullptr);
}

} // namespace
