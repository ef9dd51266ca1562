// Menu items and the HMENU made of them: the item tree and who frees what, check marks and
// radio groups, the built menu (texts, states, sub-menus, commands), in-place updates and
// rebuilds, and the menu messages answered for the owning window — measured and drawn on
// memory bitmaps, with fixed expectations that do not depend on font metrics.
#include "gui/win/menu.h"

#include "gui/core/exceptions.h"
#include "gui/core/shortcut_text.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/graphics_color.h"
#include "gui/win/image_list.h"
#include "gui/win/popup_menu.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

std::wstring TextAt(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    const int n = ::GetMenuStringW(menu, position, buffer, 256, MF_BYPOSITION);
    return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

MENUITEMINFOW InfoAt(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, position, TRUE, &info));
    return info;
}

TColor SystemTColor(int index) {
    return ColorFromRGB(::GetSysColor(index));
}

// Counts its destructions, to see who frees what.
class TCountedItem : public TMenuItem {
public:
    TCountedItem(TComponent* owner, int& destroyed) : TMenuItem(owner), destroyed_(destroyed) {}
    ~TCountedItem() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST(MenuItems, ParentsFreeTheirSubItemsAndItemsLeaveTheirParents) {
    int destroyed = 0;
    auto owner = MakeComponent<TComponent>();
    {
        auto menu = MakeComponent<TPopupMenu>();
        TMenuItem& root = menu->Items();
        auto* owned = Create<TCountedItem>(owner.get(), destroyed);
        root.Add(owned);
        TMenuItem* file = root.AddItem(L"File");
        auto unowned = MakeComponent<TCountedItem>(destroyed);
        file->Add(unowned.release());
        EXPECT_EQ(root.Count(), 2);
        EXPECT_EQ(file->Count(), 1);
        EXPECT_EQ(file->Parent(), &root);
        EXPECT_EQ(file->MenuIndex(), 1);
        EXPECT_EQ(file->GetParentMenu(), menu.get());
        EXPECT_EQ(root.GetParentMenu(), menu.get());

        // An item freed by its owner leaves its parent's list.
        owned->Free();
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(root.Count(), 1);
        EXPECT_EQ(root[0], file);
    }
    // The menu freed its tree, the unowned grandchild included.
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(owner->ComponentCount(), 0);
}

TEST(MenuItems, InsertDeleteRemoveAndRefusedInsertions) {
    auto menu = MakeComponent<TPopupMenu>();
    TMenuItem& root = menu->Items();
    TMenuItem* a = root.AddItem(L"A");
    TMenuItem* c = root.AddItem(L"C");
    auto b = MakeComponent<TMenuItem>();
    b->SetCaption(L"B");
    TMenuItem* rawB = b.get();
    root.Insert(1, b.release());
    EXPECT_EQ(root.IndexOf(rawB), 1);
    EXPECT_EQ(root[2], c);
    EXPECT_THROW(root.Add(a), EInvalidOperation);   // already in a list
    EXPECT_THROW(a->Add(&root), EInvalidOperation); // a root of a menu
    TMenuItem* child = a->AddItem(L"child");
    EXPECT_THROW(child->Add(nullptr), EInvalidOperation);
    auto loose = a->Remove(child);
    ASSERT_TRUE(loose); // no owner: back to the caller
    EXPECT_EQ(loose->Parent(), nullptr);
    EXPECT_THROW(loose->Add(a->Parent()), EInvalidOperation);

    auto owner = MakeComponent<TComponent>();
    auto* owned = Create<TMenuItem>(owner.get());
    root.Add(owned);
    EXPECT_FALSE(root.Remove(owned)); // stays its owner's
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_FALSE(root.Remove(owned)); // not in the list any more

    root.Delete(7);
    root.Delete(0);
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root[0], rawB);
    root.Clear();
    EXPECT_EQ(root.Count(), 0);
}

TEST(MenuItems, ChecksRadioGroupsDefaultsAndClicks) {
    auto menu = MakeComponent<TPopupMenu>();
    TMenuItem& root = menu->Items();
    TMenuItem* ru = root.AddItem(L"Russian");
    TMenuItem* en = root.AddItem(L"English");
    TMenuItem* other = root.AddItem(L"Other group");
    for (TMenuItem* i : {ru, en, other}) {
        i->SetRadioItem(true);
        i->SetAutoCheck(true);
    }
    other->SetGroupIndex(1);
    other->SetChecked(true);
    ru->SetChecked(true);
    en->Click();
    EXPECT_TRUE(en->Checked());
    EXPECT_FALSE(ru->Checked());
    EXPECT_TRUE(other->Checked()); // another group
    en->Click();                   // a radio item only ever checks itself
    EXPECT_TRUE(en->Checked());

    int clicks = 0;
    TMenuItem* plain = root.AddItem(L"Start with Windows", [&](TObject*) { ++clicks; });
    plain->SetAutoCheck(true);
    plain->Click();
    EXPECT_TRUE(plain->Checked());
    plain->Click();
    EXPECT_FALSE(plain->Checked());
    plain->SetEnabled(false);
    plain->Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(plain->Checked());

    ru->SetDefault(true);
    en->SetDefault(true);
    EXPECT_FALSE(ru->Default());
    EXPECT_TRUE(en->Default());
}

class BuiltMenu : public ::testing::Test {
protected:
    void SetUp() override {
        TMenuItem& root = menu->Items();
        show = root.AddItem(L"Show window", [this](TObject*) { ++showClicks; });
        language = root.AddItem(L"&Language");
        russian = language->AddItem(L"Russian");
        english = language->AddItem(L"English");
        root.AddItem(L"-");
        autorun = root.AddItem(L"Start with Windows");
        exitItem = root.AddItem(L"Exit");
        exitItem->SetShortCut(scCtrl | 'Q');
    }
    ComponentPtr<TPopupMenu> menu = MakeComponent<TPopupMenu>();
    TMenuItem *show, *language, *russian, *english, *autorun, *exitItem;
    int showClicks = 0;
};

TEST_F(BuiltMenu, TheHmenuShowsTheItemsWithTheirStates) {
    autorun->SetChecked(true);
    english->SetEnabled(false);
    show->SetDefault(true);
    HMENU h = menu->Handle();
    ASSERT_EQ(::GetMenuItemCount(h), 5);
    EXPECT_EQ(TextAt(h, 0), L"&Show window");
    EXPECT_EQ(TextAt(h, 1), L"&Language");
    EXPECT_EQ(InfoAt(h, 2).fType & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(TextAt(h, 3), L"Start &with Windows"); // S is taken above
    EXPECT_EQ(TextAt(h, 4), L"&Exit\tCtrl+Q");
    EXPECT_TRUE(InfoAt(h, 3).fState & MFS_CHECKED);
    EXPECT_TRUE(InfoAt(h, 0).fState & MFS_DEFAULT);
    const HMENU sub = InfoAt(h, 1).hSubMenu;
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(language->Handle(), sub);
    EXPECT_EQ(::GetMenuItemCount(sub), 2);
    EXPECT_TRUE(InfoAt(sub, 1).fState & MFS_GRAYED);
    EXPECT_EQ(InfoAt(h, 0).wID, show->Command());
    EXPECT_EQ(InfoAt(h, 0).dwItemData, reinterpret_cast<ULONG_PTR>(show));
    // Not owner-drawn without OwnerDraw or Images.
    EXPECT_FALSE(InfoAt(h, 0).fType & MFT_OWNERDRAW);
}

TEST_F(BuiltMenu, ManualAcceleratorsKeepTheCaptionsExactly) {
    menu->SetAutoHotkeys(TMenuAutoFlag::maManual);
    show->SetCaption(L"Mi&nimize");
    autorun->SetCaption(L"Fish && chips");
    HMENU h = menu->Handle();
    EXPECT_EQ(TextAt(h, 0), L"Mi&nimize");
    EXPECT_EQ(TextAt(h, 3), L"Fish && chips");
    EXPECT_EQ(TextAt(h, 4), L"Exit\tCtrl+Q");
    EXPECT_EQ(exitItem->DisplayCaption(), L"Exit");
    EXPECT_EQ(exitItem->Caption(), L"Exit");
}

TEST_F(BuiltMenu, SmallChangesGoInPlaceAndOnlyStructureRebuilds) {
    HMENU h = menu->Handle();
    const HMENU sub = language->Handle();
    const UINT exitCommand = exitItem->Command();
    exitItem->SetCaption(L"Quit");
    autorun->SetChecked(true);
    russian->SetEnabled(false);
    EXPECT_FALSE(menu->NeedsRebuild());
    EXPECT_EQ(TextAt(h, 4), L"&Quit\tCtrl+Q");
    EXPECT_TRUE(InfoAt(h, 3).fState & MFS_CHECKED);
    EXPECT_TRUE(InfoAt(sub, 0).fState & MFS_GRAYED);
    EXPECT_EQ(menu->Handle(), h);
    EXPECT_EQ(language->Handle(), sub); // nothing was rebuilt

    autorun->SetVisible(false);
    EXPECT_TRUE(menu->NeedsRebuild());
    EXPECT_EQ(menu->Handle(), h); // the root handle stays
    EXPECT_EQ(::GetMenuItemCount(h), 4);
    EXPECT_EQ(TextAt(h, 3), L"&Quit\tCtrl+Q");
    EXPECT_EQ(exitItem->Command(), exitCommand); // commands stay with their items
    EXPECT_FALSE(::IsMenu(sub));                 // the old sub-menu was destroyed
}

TEST_F(BuiltMenu, CommandsRunClicksAndOtherMessagesAreLeftAlone) {
    menu->Handle();
    TMessage command{nullptr, WM_COMMAND, MAKEWPARAM(show->Command(), 0), 0, 0};
    EXPECT_TRUE(menu->HandleWindowMessage(command));
    EXPECT_EQ(showClicks, 1);
    // A control's notification carries its window: not a menu command.
    TMessage fromControl{nullptr, WM_COMMAND, MAKEWPARAM(show->Command(), 0),
                         reinterpret_cast<LPARAM>(::GetDesktopWindow()), 0};
    EXPECT_FALSE(menu->HandleWindowMessage(fromControl));
    TMessage accelerator{nullptr, WM_COMMAND, MAKEWPARAM(show->Command(), 1), 0, 0};
    EXPECT_FALSE(menu->HandleWindowMessage(accelerator));
    TMessage unknown{nullptr, WM_COMMAND, MAKEWPARAM(0xE000, 0), 0, 0};
    EXPECT_FALSE(menu->HandleWindowMessage(unknown));
    TMessage paint{nullptr, WM_PAINT, 0, 0, 0};
    EXPECT_FALSE(menu->HandleWindowMessage(paint));
    EXPECT_EQ(showClicks, 1);
}

TEST_F(BuiltMenu, ASubMenuOpeningTellsItsParentItem) {
    int opened = 0;
    language->SetOnClick([&](TObject* sender) {
        EXPECT_EQ(sender, language);
        ++opened;
        english->SetChecked(true); // shown in the open sub-menu at once
    });
    menu->Handle();
    TMessage init{nullptr, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(language->Handle()),
                  MAKELPARAM(1, 0), 0};
    EXPECT_TRUE(menu->HandleWindowMessage(init));
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(InfoAt(language->Handle(), 1).fState & MFS_CHECKED);
    TMessage other{nullptr, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::CreatePopupMenu()), 0, 0};
    EXPECT_FALSE(menu->HandleWindowMessage(other));
    ::DestroyMenu(reinterpret_cast<HMENU>(other.WParam));
}

TEST_F(BuiltMenu, AnItemFreedAfterBuildingIsNeverReachedThroughTheMenu) {
    menu->Handle();
    const UINT command = exitItem->Command();
    const ULONG_PTR data = reinterpret_cast<ULONG_PTR>(exitItem);
    menu->Items().Delete(exitItem->MenuIndex());
    EXPECT_EQ(menu->FindItem(command), nullptr);
    TMessage stale{nullptr, WM_COMMAND, MAKEWPARAM(command, 0), 0, 0};
    EXPECT_FALSE(menu->HandleWindowMessage(stale));
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = data;
    TMessage m{nullptr, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), 0};
    EXPECT_FALSE(menu->HandleWindowMessage(m));
    measure.itemData = 0x1234; // garbage is compared, never followed
    EXPECT_FALSE(menu->HandleWindowMessage(m));
}

TEST_F(BuiltMenu, ShortcutsAreFoundAmongEnabledVisibleItems) {
    russian->SetShortCut(scCtrl | 'R');
    EXPECT_EQ(menu->FindShortCut(scCtrl | 'Q'), exitItem);
    EXPECT_EQ(menu->FindShortCut(scCtrl | 'R'), russian);
    language->SetEnabled(false);
    EXPECT_EQ(menu->FindShortCut(scCtrl | 'R'), nullptr);
    exitItem->SetVisible(false);
    EXPECT_EQ(menu->FindShortCut(scCtrl | 'Q'), nullptr);
    EXPECT_EQ(menu->FindShortCut(0), nullptr);
}

TEST_F(BuiltMenu, ChangesAreAnnouncedWithTheirKind) {
    std::vector<std::pair<TMenuItem*, bool>> seen;
    menu->SetOnChange(
        [&](TObject*, TMenuItem* source, bool rebuild) { seen.emplace_back(source, rebuild); });
    exitItem->SetCaption(L"Quit");
    autorun->SetVisible(false);
    menu->Items().AddItem(L"New");
    menu->SetOwnerDraw(true);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], std::make_pair(exitItem, false));
    EXPECT_EQ(seen[1], std::make_pair(autorun, true));
    EXPECT_EQ(seen[2], std::make_pair(&menu->Items(), true));
    EXPECT_EQ(seen[3], std::make_pair(static_cast<TMenuItem*>(nullptr), true));
}

TEST_F(BuiltMenu, OwnerDrawnItemsFindTheirAcceleratorsThroughMenuChar) {
    menu->SetOwnerDraw(true);
    HMENU h = menu->Handle();
    EXPECT_TRUE(InfoAt(h, 0).fType & MFT_OWNERDRAW);
    TMessage key{nullptr, WM_MENUCHAR, MAKEWPARAM(L'e', MF_POPUP), reinterpret_cast<LPARAM>(h), 0};
    ASSERT_TRUE(menu->HandleWindowMessage(key));
    EXPECT_EQ(LOWORD(key.Result), 4);
    EXPECT_EQ(HIWORD(key.Result), MNC_EXECUTE);
    TMessage none{nullptr, WM_MENUCHAR, MAKEWPARAM(L'z', MF_POPUP), reinterpret_cast<LPARAM>(h), 0};
    EXPECT_FALSE(menu->HandleWindowMessage(none));
    // A disabled item is not chosen by its key.
    exitItem->SetEnabled(false);
    EXPECT_FALSE(menu->HandleWindowMessage(key));
}

TEST_F(BuiltMenu, RebuildingAThousandTimesLeaksNoMenu) {
    const long menusBefore = HandleCounters::Live(HandleKind::Menu);
    menu->Handle();
    const long built = HandleCounters::Live(HandleKind::Menu);
    EXPECT_EQ(built, menusBefore + 2); // the root and the language sub-menu
    HMENU root = menu->Handle();
    for (int i = 0; i < 1000; ++i) {
        autorun->SetVisible(i % 2 == 0);
        menu->Handle();
    }
    EXPECT_EQ(HandleCounters::Live(HandleKind::Menu), built);
    menu.reset();
    EXPECT_EQ(HandleCounters::Live(HandleKind::Menu), menusBefore);
    EXPECT_FALSE(::IsMenu(root));
}

// Owner drawing through synthetic WM_MEASUREITEM / WM_DRAWITEM on a memory bitmap.
class OwnerDrawn : public BuiltMenu {
protected:
    void SetUp() override {
        BuiltMenu::SetUp();
        MakeFilled(strip, 16, 16, clFuchsia);
        strip.Canvas().Brush().SetColor(clRed);
        strip.Canvas().FillRect(MakeRect(2, 2, 14, 14));
        images->AddMasked(strip, clFuchsia);
        menu->SetImages(images.get());
        MakeFilled(target, 200, 40, clBlack);
        menu->Handle();
    }

    TSize Measure(TMenuItem* item) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = item->Command();
        measure.itemData = reinterpret_cast<ULONG_PTR>(item);
        TMessage m{nullptr, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), 0};
        EXPECT_TRUE(menu->HandleWindowMessage(m));
        return TSize{static_cast<int>(measure.itemWidth), static_cast<int>(measure.itemHeight)};
    }

    void Draw(TMenuItem* item, const TRect& rect, UINT state) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = item->Command();
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = state;
        draw.hDC = target.Canvas().Handle();
        draw.rcItem = ToRECT(rect);
        draw.itemData = reinterpret_cast<ULONG_PTR>(item);
        TMessage m{nullptr, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), 0};
        EXPECT_TRUE(menu->HandleWindowMessage(m));
    }

    ComponentPtr<TImageList> images = MakeComponent<TImageList>();
    TBitmap strip;
    TBitmap target;
};

TEST_F(OwnerDrawn, ImagesMakeTheMenuOwnerDrawn) {
    EXPECT_TRUE(menu->IsOwnerDraw());
    EXPECT_TRUE(InfoAt(menu->Handle(), 0).fType & MFT_OWNERDRAW);
    menu->SetImages(nullptr);
    EXPECT_FALSE(InfoAt(menu->Handle(), 0).fType & MFT_OWNERDRAW);
    menu->SetImages(images.get());
    images.reset(); // the menu hears of it and stops using the list
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_FALSE(InfoAt(menu->Handle(), 0).fType & MFT_OWNERDRAW);
}

TEST_F(OwnerDrawn, HandlersGetACanvasAndTheirSizesAreUsed) {
    bool called = false;
    show->SetOnMeasureItem([&](TObject* sender, TCanvas& canvas, int& width, int& height) {
        called = true;
        EXPECT_EQ(sender, show);
        EXPECT_GT(canvas.TextWidth(L"x"), 0); // a canvas that can measure text
        EXPECT_GE(width, 2 + 20 + 4 + 16);    // the default size comes filled in
        EXPECT_GE(height, 20);
        width = 123;
        height = 21;
    });
    EXPECT_EQ(Measure(show), (TSize{123, 21}));
    EXPECT_TRUE(called);
    // Without a handler: the plain layout; separators are 8 high.
    const TSize plain = Measure(exitItem);
    EXPECT_GE(plain.Width, 2 + 20 + 4 + 16 + 16);
    EXPECT_EQ(Measure(menu->Items()[2]).Height, 8);
}

TEST_F(OwnerDrawn, DrawHandlersReceiveTheRectangleAndTheSelection) {
    TRect got;
    bool gotSelected = false;
    show->SetOnDrawItem([&](TObject*, TCanvas& canvas, const TRect& rect, bool selected) {
        got = rect;
        gotSelected = selected;
        canvas.Brush().SetColor(clYellow);
        canvas.FillRect(rect);
    });
    Draw(show, MakeRect(10, 5, 110, 26), ODS_SELECTED);
    EXPECT_EQ(got, MakeRect(10, 5, 110, 26));
    EXPECT_TRUE(gotSelected);
    EXPECT_EQ(CountColor(target, MakeRect(10, 5, 110, 26), clYellow), 100 * 21);
    EXPECT_EQ(PixelOf(target, 9, 5), clBlack);
    // The DC got its objects back.
    EXPECT_EQ(::GetCurrentObject(target.Canvas().Handle(), OBJ_BRUSH),
              ::GetStockObject(WHITE_BRUSH));
}

TEST_F(OwnerDrawn, PlainDrawingShowsSelectionImageCheckAndDisabledText) {
    show->SetImageIndex(0);
    Draw(show, MakeRect(0, 0, 200, 20), ODS_SELECTED);
    const TColor highlight = SystemTColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(PixelOf(target, 199, 0), highlight);
    EXPECT_EQ(PixelOf(target, 199, 19), highlight);
    // The image at the glyph place: 2 + 2 from the left, centred (20 - 16) / 2 from the top.
    EXPECT_EQ(CountColor(target, MakeRect(4 + 2, 2 + 2, 4 + 14, 2 + 14), clRed), 144);
    EXPECT_EQ(PixelOf(target, 4, 2), highlight); // the image's transparent corner
    // Caption text in the highlight text colour somewhere right of the glyph column.
    EXPECT_GT(CountColor(target, MakeRect(26, 0, 150, 20), SystemTColor(COLOR_HIGHLIGHTTEXT)), 0);

    // Disabled and selected: not highlighted, grey text, greyed image.
    MakeFilled(target, 200, 40, clBlack);
    show->SetEnabled(false);
    Draw(show, MakeRect(0, 0, 200, 20), ODS_SELECTED | ODS_GRAYED);
    EXPECT_EQ(PixelOf(target, 199, 0), SystemTColor(COLOR_MENU));
    EXPECT_EQ(CountColor(target, MakeRect(6, 4, 18, 16), clRed), 0);
    EXPECT_GT(CountColor(target, MakeRect(26, 0, 150, 20), SystemTColor(COLOR_GRAYTEXT)), 0);

    // Checked without an image: a mark in the glyph column in the text colour.
    MakeFilled(target, 200, 40, clBlack);
    autorun->SetChecked(true);
    Draw(autorun, MakeRect(0, 0, 200, 20), 0);
    EXPECT_GT(CountColor(target, MakeRect(4, 2, 20, 18), SystemTColor(COLOR_MENUTEXT)), 3);
    // A separator: the shadow line through the middle.
    Draw(menu->Items()[2], MakeRect(0, 20, 200, 28), 0);
    EXPECT_EQ(PixelOf(target, 100, 23), SystemTColor(COLOR_BTNSHADOW));
}

TEST_F(OwnerDrawn, RepeatedOwnerDrawingLeaksNothing) {
    target.Canvas().Handle();
    const nestora::gui::testing::LiveHandles before;
    for (int i = 0; i < 500; ++i) {
        Measure(exitItem);
        Draw(i % 2 ? show : exitItem, MakeRect(0, 0, 200, 20), i % 3 ? ODS_SELECTED : 0);
    }
    const nestora::gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    if (before.processGdi > 0) {
        EXPECT_LE(after.processGdi, before.processGdi + 2);
    }
}

} // namespace
