// TPopupMenu under a real TrackPopupMenuEx: opening is modal, so the tests drive the open
// menu from inside its loop — keys posted before it opens, or steps run by a thread timer
// while it is open — and check what the menu's window received.
#include "gui/win/popup_menu.h"

#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/canvas.h"

#include "graphics_test_support.h"
#include "menu_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace nestora::gui;

using nestora::gui::testing::OpenMenuWindow;
using nestora::gui::testing::PostKey;
using nestora::gui::testing::PumpMessages;
using nestora::gui::testing::Steps;

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpMessages();
        TMenuItem& root = menu->Items();
        show = root.AddItem(L"Show window", [this](TObject*) { clicks += L"show;"; });
        root.AddItem(L"-");
        exitItem = root.AddItem(L"Exit", [this](TObject*) { clicks += L"exit;"; });
    }
    void TearDown() override { PumpMessages(); }

    ComponentPtr<TPopupMenu> menu = MakeComponent<TPopupMenu>();
    TMenuItem* show = nullptr;
    TMenuItem* exitItem = nullptr;
    std::wstring clicks;
};

TEST_F(PopupMenuTest, OpensAfterOnPopupAndReturnsWhenClosed) {
    std::wstring order;
    menu->SetOnPopup([&](TObject* sender) {
        EXPECT_EQ(sender, menu.get());
        order += L"popup;";
        // Items changed here are shown: the menu is rebuilt after OnPopup.
        menu->Items().AddItem(L"Late");
    });
    bool sawOpen = false;
    Steps steps({[&] {
        HWND open = OpenMenuWindow();
        sawOpen = open != nullptr;
        order += L"open;";
        if (open) {
            EXPECT_EQ(::GetMenuItemCount(menu->Handle()), 4);
        }
        ::EndMenu();
    }});
    menu->Popup(100, 100);
    order += L"returned;";
    EXPECT_TRUE(sawOpen);
    EXPECT_EQ(order, L"popup;open;returned;");
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(OpenMenuWindow(), nullptr);
    PumpMessages();
    EXPECT_EQ(clicks, L"");
}

TEST_F(PopupMenuTest, TheChosenItemClicksAfterTheMenuClosed) {
    HWND owner = menu->WindowHandle();
    // Down to the first item, down over the separator to "Exit", Enter.
    PostKey(owner, VK_DOWN);
    PostKey(owner, VK_DOWN);
    PostKey(owner, VK_RETURN);
    menu->Popup(100, 100);
    EXPECT_EQ(clicks, L""); // Windows posts the command; it arrives with the next messages
    PumpMessages();
    EXPECT_EQ(clicks, L"exit;");
}

TEST_F(PopupMenuTest, ManualAcceleratorsChooseByTheirOwnLetters) {
    menu->SetAutoHotkeys(TMenuAutoFlag::maManual);
    show->SetCaption(L"Mi&nimize");
    exitItem->SetCaption(L"&Close");
    PostKey(menu->WindowHandle(), 'C');
    menu->Popup(50, 50);
    PumpMessages();
    EXPECT_EQ(clicks, L"exit;");
    wchar_t text[64] = {};
    ::GetMenuStringW(menu->Handle(), 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Mi&nimize");
}

TEST_F(PopupMenuTest, OwnerDrawnItemsAreMeasuredDrawnAndChosenByKey) {
    menu->SetOwnerDraw(true);
    int measured = 0, drawn = 0, drawnHeight = 0;
    show->SetOnMeasureItem([&](TObject*, TCanvas&, int& width, int& height) {
        ++measured;
        width = 120;
        height = 22;
    });
    show->SetOnDrawItem([&](TObject*, TCanvas& canvas, const TRect& rect, bool) {
        ++drawn;
        drawnHeight = rect.Height();
        canvas.Brush().SetColor(clRed);
        canvas.FillRect(rect);
    });
    Steps steps({[&] {},
                 [&] {
                     // Accelerators of owner-drawn items come through WM_MENUCHAR.
                     PostKey(menu->WindowHandle(), 'E');
                 }});
    menu->Popup(100, 100);
    EXPECT_GE(measured, 1);
    EXPECT_GE(drawn, 1);
    EXPECT_EQ(drawnHeight, 22);
    PumpMessages();
    EXPECT_EQ(clicks, L"exit;");
}

TEST_F(PopupMenuTest, AThousandPopupsReuseTheSameHandlesAndLeakNothing) {
    menu->SetOwnerDraw(true);
    HWND owner = menu->WindowHandle();
    PostKey(owner, VK_ESCAPE);
    menu->Popup(10, 10);
    PumpMessages();
    const HMENU root = menu->Handle();
    const nestora::gui::testing::LiveHandles before;
    const long menusBefore = HandleCounters::Live(HandleKind::Menu);
    for (int i = 0; i < 1000; ++i) {
        PostKey(owner, VK_ESCAPE);
        menu->Popup(10 + i % 50, 10);
        PumpMessages();
    }
    const nestora::gui::testing::LiveHandles after;
    RecordProperty("process_gdi_objects",
                   std::to_string(before.processGdi) + " -> " + std::to_string(after.processGdi));
    RecordProperty("process_user_objects",
                   std::to_string(before.processUser) + " -> " + std::to_string(after.processUser));
    EXPECT_EQ(menu->Handle(), root);
    EXPECT_FALSE(menu->NeedsRebuild());
    EXPECT_EQ(HandleCounters::Live(HandleKind::Menu), menusBefore);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    if (before.processGdi > 0) {
        EXPECT_LE(after.processGdi, before.processGdi + 2);
        EXPECT_LE(after.processUser, before.processUser + 2);
    }
    EXPECT_EQ(clicks, L"");
}

TEST_F(PopupMenuTest, AnErrorInAClickGoesToTheApplicationsErrorHandler) {
    std::wstring reported;
    auto application = MakeComponent<TApplication>();
    application->SetOnException([&](TObject*, const std::exception& e) {
        const auto* own = dynamic_cast<const Exception*>(&e);
        reported = own ? own->Message() : L"?";
    });
    show->SetOnClick([](TObject*) { throw EInvalidOperation(L"Cannot show now"); });
    PostKey(menu->WindowHandle(), VK_DOWN);
    PostKey(menu->WindowHandle(), VK_RETURN);
    menu->Popup(100, 100);
    PumpMessages();
    EXPECT_EQ(reported, L"Cannot show now");
}

TEST_F(PopupMenuTest, AMenuFreedByItsOwnClickLeavesNothingBehind) {
    HWND owner = menu->WindowHandle();
    const long windowsBefore = HandleCounters::Live(HandleKind::Window);
    exitItem->SetOnClick([this](TObject*) { menu.reset(); });
    PostKey(owner, VK_DOWN);
    PostKey(owner, VK_DOWN);
    PostKey(owner, VK_RETURN);
    menu->Popup(100, 100);
    PumpMessages();
    EXPECT_EQ(menu, nullptr);
    EXPECT_FALSE(::IsWindow(owner));
    EXPECT_EQ(HandleCounters::Live(HandleKind::Window), windowsBefore - 1);
}

TEST_F(PopupMenuTest, AWindowClosedBehindTheMenusBackIsLetGoAndMadeAgain) {
    // A WM_CLOSE reaching the hidden window (as "taskkill" sends to every top-level window)
    // ends it in default processing. The menu lets go of it there: it is no longer counted,
    // the next popup has a live owner window again, and freeing the menu destroys nothing
    // twice.
    const HWND closed = menu->WindowHandle();
    const long windowsBefore = HandleCounters::Live(HandleKind::Window);
    const long lostBefore = LostWindowDestroys();
    ::SendMessageW(closed, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindow(closed));
    EXPECT_EQ(HandleCounters::Live(HandleKind::Window), windowsBefore - 1);
    const HWND owner = menu->WindowHandle();
    EXPECT_TRUE(::IsWindow(owner));
    PostKey(owner, VK_DOWN);
    PostKey(owner, VK_RETURN);
    menu->Popup(100, 100);
    PumpMessages();
    EXPECT_EQ(clicks, L"show;");
    menu.reset();
    EXPECT_FALSE(::IsWindow(owner));
    EXPECT_EQ(LostWindowDestroys(), lostBefore);
}

TEST_F(PopupMenuTest, AMenuFreedWhileOpenIsNotTouchedAfterwards) {
    Steps steps({[&] { menu.reset(); }, [] { ::EndMenu(); }});
    TPopupMenu* raw = menu.get();
    raw->Popup(100, 100);
    EXPECT_EQ(menu, nullptr);
    PumpMessages();
}

TEST_F(PopupMenuTest, ThePopupComponentIsForgottenWhenItGoes) {
    auto invoker = MakeComponent<TComponent>();
    menu->SetPopupComponent(invoker.get());
    EXPECT_EQ(menu->PopupComponent(), invoker.get());
    invoker.reset();
    EXPECT_EQ(menu->PopupComponent(), nullptr);
}

TEST_F(PopupMenuTest, PublishedPropertiesAsADescriptionSetsThem) {
    const ClassInfo& info = TPopupMenu::StaticClassInfo();
    EXPECT_NE(info.GetFactory(), nullptr);
    SetPropertyValue(*menu, "AutoPopup", PropertyValue(false));
    EXPECT_FALSE(menu->AutoPopup());
    const PropertyInfo* alignment = info.FindProperty("Alignment");
    ASSERT_NE(alignment, nullptr);
    SetPropertyValue(*menu, "Alignment",
                     PropertyValue(std::int64_t{*alignment->enumInfo->Find("paRight")}));
    EXPECT_EQ(menu->Alignment(), TPopupAlignment::paRight);
    const PropertyInfo* autoHotkeys = info.FindProperty("AutoHotkeys");
    ASSERT_NE(autoHotkeys, nullptr);
    SetPropertyValue(*menu, "AutoHotkeys",
                     PropertyValue(std::int64_t{*autoHotkeys->enumInfo->Find("maManual")}));
    EXPECT_EQ(menu->AutoHotkeys(), TMenuAutoFlag::maManual);
    // Items nest in the menu's block of a description.
    auto owner = MakeComponent<TComponent>();
    auto* item = Create<TMenuItem>(owner.get());
    item->SetParentComponent(menu.get());
    EXPECT_EQ(item->Parent(), &menu->Items());
    auto* sub = Create<TMenuItem>(owner.get());
    sub->SetParentComponent(item);
    EXPECT_EQ(sub->Parent(), item);
    SetPropertyValue(*item, "ShortCut", PropertyValue(std::int64_t{0x4051}));
    EXPECT_EQ(item->ShortCut(), 0x4051);
    EXPECT_THROW(SetPropertyValue(*item, "ShortCut", PropertyValue(std::int64_t{0x10000})),
                 EConvertError);
}

} // namespace
