// The skinned popup menu: its properties and what a style writes into them, the order rule
// of window descriptions, the theme component going away, the owner frame's style, the
// handlers on every item, measuring, and the drawing of every kind of item into memory
// bitmaps checked pixel by pixel (bar, highlight, separator line, tick, image, box, grey
// text, text places, the MacOS stripes). Then the real menu is opened and closed under
// Wine many times with its handle counts watched, and the documentation picture of the
// tray menu in all five looks is drawn through the same code.
#include "skin/menus/sui_popup_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/description_loader.h"
#include "gui/core/exceptions.h"
#include "gui/core/shortcut_text.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/font.h"
#include "gui/win/form.h"
#include "gui/win/graphics_color.h"
#include "gui/win/image_list.h"
#include "gui/win/key_names.h"
#include "gui/win/panel.h"
#include "skin/menu_geometry.h"
#include "skin/sui_style_win.h"

#include "../../gui/win/app_test_support.h"
#include "../../gui/win/graphics_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace nestora::skin {
namespace {

using gui::MakeRect;
using gui::TRect;
using gui::testing::CountColor;
using gui::testing::MakeFilled;
using gui::testing::PixelOf;
using S = TsuiUIStyle;

constexpr TColor kSentinel = gui::clFuchsia; // never drawn by the menu
constexpr TColor kDeepBlueBar = 0x00CED3D6;
constexpr TColor kDeepBlueSelected = 0x00A04A44;
constexpr TColor kGreyText = 0x00808080;

// The extent of the pixels of a rectangle that differ from a background colour.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Any() const { return right >= 0; }
};

Ink InkOf(const gui::TBitmap& b, const TRect& area, TColor background) {
    Ink ink;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (PixelOf(b, x, y) != background) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// Where the system menu font puts the ink of a text drawn with its cell at (0, 0), and
// the text's width: the reference the item's text places are compared with.
struct TextReference {
    Ink ink;
    int width = 0;
};

TextReference ReferenceOf(const std::wstring& text, bool bold = false, bool drawText = true) {
    gui::TBitmap b;
    MakeFilled(b, 400, 60, gui::clWhite);
    gui::TCanvas& c = b.Canvas();
    SetSystemMenuFont(c.Font());
    c.Font().SetColor(gui::clBlack);
    if (bold)
        c.Font().SetStyle(gui::fsBold);
    c.Brush().SetStyle(gui::TBrushStyle::bsClear);
    TextReference r;
    r.width = c.TextWidth(text);
    if (drawText) {
        TRect rect = MakeRect(0, 0, 400, 60);
        c.DrawText(text, rect, DT_SINGLELINE);
    } else {
        c.TextOut(0, 0, text);
    }
    r.ink = InkOf(b, MakeRect(0, 0, 400, 60), gui::clWhite);
    return r;
}

// Solid 16 by 16 images, opaque (the mask colour is none of theirs).
void AddSolidImage(gui::TImageList& list, TColor color) {
    gui::TBitmap image;
    MakeFilled(image, 16, 16, color);
    list.AddMasked(image, kSentinel);
}

// A form's skinned frame as far as the menu can see it: a control of class "TsuiForm"
// publishing UIStyle.
class TFrameStandIn : public gui::TCustomPanel {
public:
    using gui::TCustomPanel::TCustomPanel;
    static const gui::ClassInfo& StaticClassInfo() {
        static const gui::ClassInfo info =
            gui::ClassBuilder<TFrameStandIn>("TsuiForm", &gui::TCustomPanel::StaticClassInfo())
                .Enum("UIStyle", kUIStyleInfo, &TFrameStandIn::UIStyle, &TFrameStandIn::SetUIStyle)
                .Build();
        return info;
    }
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    S UIStyle() const { return style; }
    void SetUIStyle(S s) { style = s; }
    S style = S::DeepBlue;
};

class TDerivedFrame : public TFrameStandIn {
public:
    using TFrameStandIn::TFrameStandIn;
    static const gui::ClassInfo& StaticClassInfo() {
        static const gui::ClassInfo info =
            gui::ClassBuilder<TDerivedFrame>("TMyFrame", &TFrameStandIn::StaticClassInfo()).Build();
        return info;
    }
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

// The tray menu's items on a menu of its own, with a 16 by 16 image list: image 0 red,
// image 1 blue, image 2 green.
class SkinMenu : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        AddSolidImage(*images, gui::clRed);
        AddSolidImage(*images, gui::clBlue);
        AddSolidImage(*images, gui::clLime);
        menu->SetImages(images.get());
        menu->SetAutoHotkeys(gui::TMenuAutoFlag::maManual);
        gui::TMenuItem& root = menu->Items();
        settings = root.AddItem(L"Settings");
        settings->SetImageIndex(1);
        language = root.AddItem(L"Language");
        english = language->AddItem(L"English");
        russian = language->AddItem(L"Russian");
        separator = root.AddItem(L"-");
        autorun = root.AddItem(L"Start with Windows");
        autorun->SetChecked(true);
        root.AddItem(L"-");
        exitItem = root.AddItem(L"Exit");
        exitItem->SetImageIndex(0);
        MakeFilled(target, 300, 120, kSentinel);
    }

    void Draw(gui::TMenuItem* item, const TRect& rect, bool selected) {
        menu->DrawMenuItem(item, target.Canvas(), rect, selected);
    }
    gui::TSize Measure(gui::TMenuItem* item) {
        gui::TCanvas& canvas = measureCanvas.Canvas();
        SetSystemMenuFont(canvas.Font());
        int width = -1, height = -1;
        menu->MeasureMenuItem(item, canvas, width, height);
        return {width, height};
    }
    int TextWidth(const std::wstring& text) {
        gui::TCanvas& canvas = measureCanvas.Canvas();
        SetSystemMenuFont(canvas.Font());
        return canvas.TextWidth(text);
    }

    gui::ComponentPtr<TsuiPopupMenu> menu = gui::MakeComponent<TsuiPopupMenu>();
    gui::ComponentPtr<gui::TImageList> images = gui::MakeComponent<gui::TImageList>();
    gui::TMenuItem* settings = nullptr;
    gui::TMenuItem* language = nullptr;
    gui::TMenuItem* english = nullptr;
    gui::TMenuItem* russian = nullptr;
    gui::TMenuItem* separator = nullptr;
    gui::TMenuItem* autorun = nullptr;
    gui::TMenuItem* exitItem = nullptr;
    gui::TBitmap target;
    gui::TBitmap measureCanvas;
};

// --- properties ------------------------------------------------------------------------

TEST_F(SkinMenu, PublishesItsPropertiesInTheirOrderWithTheirStartingValues) {
    const std::vector<std::string> expected{"OwnerDraw",       "FileTheme",
                                            "UIStyle",         "MenuItemHeight",
                                            "SeparatorHeight", "BarWidth",
                                            "BarColor",        "Color",
                                            "SeparatorColor",  "SelectedBorderColor",
                                            "SelectedColor",   "SelectedFontColor",
                                            "FontColor",       "BorderColor",
                                            "FlatMenu",        "FontName",
                                            "FontSize",        "FontCharset",
                                            "UseSystemFont"};
    std::vector<std::string> own;
    for (const gui::PropertyInfo& p : TsuiPopupMenu::StaticClassInfo().OwnProperties())
        own.push_back(p.name);
    EXPECT_EQ(own, expected);

    // A menu without a form for owner: DeepBlue, and the fixed starting values.
    EXPECT_EQ(menu->UIStyle(), S::DeepBlue);
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(menu->IsOwnerDraw());
    EXPECT_EQ(menu->FileTheme(), nullptr);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    EXPECT_EQ(menu->SeparatorHeight(), 5);
    EXPECT_EQ(menu->BarWidth(), 26);
    EXPECT_EQ(menu->BarColor(), kDeepBlueBar);
    EXPECT_EQ(menu->Color(), 0x00FFFFFFu);
    EXPECT_EQ(menu->SeparatorColor(), 0x00848284u);
    EXPECT_EQ(menu->SelectedBorderColor(), kDeepBlueSelected);
    EXPECT_EQ(menu->SelectedColor(), kDeepBlueSelected);
    EXPECT_EQ(menu->SelectedFontColor(), 0x00FFFFFFu);
    EXPECT_EQ(menu->FontColor(), 0u);
    EXPECT_EQ(menu->BorderColor(), 0u);
    EXPECT_FALSE(menu->FlatMenu());
    EXPECT_EQ(menu->FontName(), L"MS Sans Serif");
    EXPECT_EQ(menu->FontSize(), 8);
    EXPECT_EQ(menu->FontCharset(), 1);
    EXPECT_TRUE(menu->UseSystemFont());

    // OwnerDraw always reads true.
    gui::SetPropertyValue(*menu, "OwnerDraw", gui::PropertyValue(false));
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(menu->IsOwnerDraw());
    // A character set is one byte.
    EXPECT_THROW(menu->SetFontCharset(256), gui::EConvertError);
    EXPECT_THROW(menu->SetFontCharset(-1), gui::EConvertError);
    EXPECT_EQ(menu->FontCharset(), 1);
    menu->SetFontCharset(204);
    EXPECT_EQ(menu->FontCharset(), 204);
}

TEST_F(SkinMenu, MacOSFixesTheHeightsAndLeavingItGivesTheUsualOnesBack) {
    menu->SetMenuItemHeight(30);
    menu->SetSeparatorHeight(9);
    EXPECT_EQ(menu->MenuItemHeight(), 30);
    EXPECT_EQ(menu->SeparatorHeight(), 9);
    menu->SetUIStyle(S::MacOS);
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    EXPECT_EQ(menu->SeparatorHeight(), 12);
    EXPECT_EQ(menu->SeparatorColor(), 0u);
    menu->SetMenuItemHeight(30);
    menu->SetSeparatorHeight(9);
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    EXPECT_EQ(menu->SeparatorHeight(), 12);
    EXPECT_EQ(Measure(settings).Height, 20);
    EXPECT_EQ(Measure(separator).Height, 12);
    menu->SetUIStyle(S::DeepBlue);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    EXPECT_EQ(menu->SeparatorHeight(), 5);
    EXPECT_EQ(menu->SeparatorColor(), 0x00848284u);
}

TEST_F(SkinMenu, AStyleChangeResetsItsValuesAndKeepsTheOthers) {
    menu->SetBarWidth(40);
    menu->SetBarColor(gui::clRed);
    menu->SetSelectedColor(gui::clRed);
    menu->SetBorderColor(gui::clLime);
    menu->SetFlatMenu(true);
    menu->SetFontName(L"Arial");
    menu->SetFontSize(12);
    menu->SetUseSystemFont(false);
    menu->SetUIStyle(S::WinXP);
    EXPECT_EQ(menu->BarWidth(), 26);
    EXPECT_EQ(menu->BarColor(), 0x00CED3D6u);
    EXPECT_EQ(menu->SelectedColor(), 0x00EFD3C6u);
    EXPECT_EQ(menu->SelectedFontColor(), 0u);
    EXPECT_EQ(menu->BorderColor(), gui::clLime);
    EXPECT_TRUE(menu->FlatMenu());
    EXPECT_EQ(menu->FontName(), L"Arial");
    EXPECT_EQ(menu->FontSize(), 12);
    EXPECT_FALSE(menu->UseSystemFont());
    // FromThemeFile without a loaded theme takes the DeepBlue row but keeps its own name.
    menu->SetUIStyle(S::FromThemeFile);
    EXPECT_EQ(menu->UIStyle(), S::FromThemeFile);
    EXPECT_EQ(menu->SelectedColor(), kDeepBlueSelected);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
}

TEST_F(SkinMenu, ValuesADescriptionStoresAfterUIStyleWin) {
    constexpr const char* kDescription = R"(object Holder: TComponent
  object Later: TsuiPopupMenu
    UIStyle = MacOS
    BarColor = clRed
    MenuItemHeight = 30
    SelectedColor = 255
    object Exit1: TMenuItem
      Caption = 'Exit'
    end
    object Language1: TMenuItem
      Caption = 'Language'
      object English1: TMenuItem
        Caption = 'English'
      end
    end
  end
  object Earlier: TsuiPopupMenu
    BarColor = clRed
    MenuItemHeight = 30
    UIStyle = WinXP
  end
end
)";
    auto holder = gui::MakeComponent<gui::TComponent>();
    const gui::ClassRegistry classes{&TsuiPopupMenu::StaticClassInfo(),
                                     &gui::TMenuItem::StaticClassInfo()};
    gui::LoadDescription(kDescription, *holder, classes);
    auto* later = dynamic_cast<TsuiPopupMenu*>(holder->FindComponent(L"Later"));
    auto* earlier = dynamic_cast<TsuiPopupMenu*>(holder->FindComponent(L"Earlier"));
    ASSERT_TRUE(later && earlier);
    EXPECT_EQ(later->UIStyle(), S::MacOS);
    EXPECT_EQ(later->BarColor(), gui::clRed);
    EXPECT_EQ(later->SelectedColor(), 0x000000FFu);
    EXPECT_EQ(later->MenuItemHeight(), 20); // ignored in MacOS, stored after it or not
    EXPECT_EQ(earlier->UIStyle(), S::WinXP);
    EXPECT_EQ(earlier->BarColor(), 0x00CED3D6u);
    EXPECT_EQ(earlier->MenuItemHeight(), 21);
    // Loaded attached the handlers to every item, nested ones too.
    auto* exit1 = dynamic_cast<gui::TMenuItem*>(holder->FindComponent(L"Exit1"));
    auto* english1 = dynamic_cast<gui::TMenuItem*>(holder->FindComponent(L"English1"));
    ASSERT_TRUE(exit1 && english1);
    EXPECT_TRUE(exit1->OnDrawItem() && exit1->OnMeasureItem());
    EXPECT_TRUE(english1->OnDrawItem() && english1->OnMeasureItem());
    EXPECT_EQ(std::get<bool>(gui::GetPropertyValue(*later, "OwnerDraw")), true);
}

TEST_F(SkinMenu, RemovingTheThemeComponentSwitchesToDeepBlue) {
    // SWITCH-OVER: a plain component stands in for the theme component until it exists.
    auto theme = gui::MakeComponent<gui::TComponent>();
    menu->SetUIStyle(S::MacOS);
    menu->SetBarColor(gui::clRed);
    menu->SetFileTheme(theme.get());
    // Setting the theme applies the current style again.
    EXPECT_EQ(menu->FileTheme(), theme.get());
    EXPECT_EQ(menu->UIStyle(), S::MacOS);
    EXPECT_EQ(menu->BarColor(), 0u);
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    theme.reset();
    EXPECT_EQ(menu->FileTheme(), nullptr);
    EXPECT_EQ(menu->UIStyle(), S::DeepBlue);
    EXPECT_EQ(menu->BarColor(), kDeepBlueBar);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    EXPECT_EQ(menu->SeparatorHeight(), 5);

    // A component going away that is not the theme changes nothing.
    auto other = gui::MakeComponent<gui::TComponent>();
    auto kept = gui::MakeComponent<gui::TComponent>();
    menu->SetFileTheme(kept.get());
    menu->SetUIStyle(S::Protein);
    menu->FreeNotification(other.get());
    other.reset();
    EXPECT_EQ(menu->UIStyle(), S::Protein);
    EXPECT_EQ(menu->FileTheme(), kept.get());
    // Nor does a theme the menu has let go of.
    auto dropped = gui::MakeComponent<gui::TComponent>();
    menu->SetFileTheme(dropped.get());
    menu->SetFileTheme(kept.get());
    dropped.reset();
    EXPECT_EQ(menu->UIStyle(), S::Protein);
}

TEST_F(SkinMenu, TheOwnerFormsFrameGivesTheStartingStyle) {
    auto* form = gui::Create<gui::TForm>(app.get());
    EXPECT_EQ(GetOwnerFrameStyle(form), S::DeepBlue); // no frame
    auto* panel = gui::Create<gui::TPanel>(form);
    panel->SetParent(form);
    auto* frame = gui::Create<TFrameStandIn>(form);
    frame->SetParent(form);
    frame->SetUIStyle(S::WinXP);
    auto* second = gui::Create<TFrameStandIn>(form);
    second->SetParent(form);
    second->SetUIStyle(S::Protein);
    EXPECT_EQ(GetOwnerFrameStyle(form), S::WinXP); // the first frame in index order
    auto* created = gui::Create<TsuiPopupMenu>(form);
    EXPECT_EQ(created->UIStyle(), S::WinXP);
    EXPECT_EQ(created->SelectedColor(), 0x00EFD3C6u);

    // A frame owned but not placed on the form does not count; a derived frame does.
    auto* other = gui::Create<gui::TForm>(app.get());
    gui::Create<TFrameStandIn>(other)->SetUIStyle(S::MacOS);
    EXPECT_EQ(GetOwnerFrameStyle(other), S::DeepBlue);
    auto* derived = gui::Create<TDerivedFrame>(other);
    derived->SetParent(other);
    derived->SetUIStyle(S::BlueGlass);
    EXPECT_EQ(GetOwnerFrameStyle(other), S::BlueGlass);

    // Owners that are no forms.
    EXPECT_EQ(GetOwnerFrameStyle(nullptr), S::DeepBlue);
    EXPECT_EQ(GetOwnerFrameStyle(app.get()), S::DeepBlue);
    EXPECT_EQ(GetOwnerFrameStyle(frame), S::DeepBlue);
}

TEST_F(SkinMenu, HandlersReachEveryItemAndDieWithTheMenu) {
    menu->AttachItemHandlers();
    for (gui::TMenuItem* item : {settings, language, english, russian, separator, exitItem}) {
        EXPECT_TRUE(item->OnMeasureItem());
        EXPECT_TRUE(item->OnDrawItem());
    }
    // Through an attached handler, the menu measures.
    int width = 0, height = 0;
    gui::TCanvas& canvas = measureCanvas.Canvas();
    SetSystemMenuFont(canvas.Font());
    settings->OnMeasureItem()(settings, canvas, width, height);
    EXPECT_EQ(height, 21);
    EXPECT_EQ(width, canvas.TextWidth(L"Settings") + 66);

    // SetItemHandlers replaces what an item had, at any depth.
    int calls = 0;
    SetItemHandlers(
        *language, [&](gui::TObject*, gui::TCanvas&, int&, int&) { ++calls; },
        [&](gui::TObject*, gui::TCanvas&, const TRect&, bool) { ++calls; });
    int w = 0, h = 0;
    russian->OnMeasureItem()(russian, canvas, w, h);
    russian->OnDrawItem()(russian, canvas, MakeRect(0, 0, 1, 1), false);
    EXPECT_EQ(calls, 2);

    // An item that outlives its menu keeps a handler that does nothing.
    gui::ComponentPtr<gui::TMenuItem> orphan = menu->Items().Remove(exitItem);
    ASSERT_TRUE(orphan);
    const gui::TMenuDrawItemEvent draw = orphan->OnDrawItem();
    const gui::TMenuMeasureItemEvent measure = orphan->OnMeasureItem();
    menu.reset();
    int ow = 7, oh = 9;
    measure(orphan.get(), canvas, ow, oh);
    EXPECT_EQ(ow, 7);
    EXPECT_EQ(oh, 9);
    draw(orphan.get(), target.Canvas(), MakeRect(0, 0, 100, 21), true);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 100, 21), kSentinel), 100 * 21);
}

// --- measuring ---------------------------------------------------------------------------

TEST_F(SkinMenu, WidthIsTheTextsPlusBarPlusFortyHeightTheStoredOne) {
    EXPECT_EQ(Measure(settings), (gui::TSize{TextWidth(L"Settings") + 66, 21}));
    EXPECT_EQ(Measure(separator).Height, 5);
    EXPECT_EQ(Measure(separator).Width, TextWidth(L"-") + 66);
    // "--" is an ordinary item.
    gui::TMenuItem* dashes = menu->Items().AddItem(L"--");
    EXPECT_EQ(Measure(dashes).Height, 21);
    // The ampersand counts with its own width.
    gui::TMenuItem* accel = menu->Items().AddItem(L"E&xit");
    EXPECT_EQ(Measure(accel).Width, TextWidth(L"E&xit") + 66);
    EXPECT_NE(TextWidth(L"E&xit"), TextWidth(L"Exit"));
    // The shortcut text adds its width.
    accel->SetShortCut(static_cast<std::uint16_t>(gui::scCtrl | 'S'));
    EXPECT_EQ(Measure(accel).Width, TextWidth(L"E&xit") + TextWidth(L"Ctrl+S") + 66);
    // The bar's width counts; the default item is measured plain, not bold.
    menu->SetBarWidth(10);
    settings->SetDefault(true);
    EXPECT_EQ(Measure(settings).Width, TextWidth(L"Settings") + 50);
    // Stored heights are used as they are.
    menu->SetMenuItemHeight(33);
    menu->SetSeparatorHeight(1);
    EXPECT_EQ(Measure(settings).Height, 33);
    EXPECT_EQ(Measure(separator).Height, 1);
}

// --- drawing -------------------------------------------------------------------------------

TEST_F(SkinMenu, APlainItemHasTheBarAndTheBackground) {
    menu->SetBarColor(gui::clLime);
    Draw(language, MakeRect(0, 0, 200, 21), false);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 26, 21), gui::clLime), 26 * 21);
    EXPECT_EQ(PixelOf(target, 26, 0), gui::clWhite);
    EXPECT_EQ(CountColor(target, MakeRect(26, 0, 200, 4), gui::clWhite), 174 * 4);
    EXPECT_EQ(CountColor(target, MakeRect(199, 0, 200, 21), gui::clWhite), 21);
    // Only the item's own rectangle is painted.
    EXPECT_EQ(PixelOf(target, 200, 0), kSentinel);
    EXPECT_EQ(PixelOf(target, 0, 21), kSentinel);
    // Without a bar the background starts at the left edge.
    menu->SetBarWidth(0);
    Draw(language, MakeRect(0, 30, 200, 51), false);
    EXPECT_EQ(CountColor(target, MakeRect(0, 30, 20, 34), gui::clWhite), 20 * 4);
}

TEST_F(SkinMenu, TheSelectedItemIsFilledAndFramedWithoutABar) {
    menu->SetSelectedBorderColor(gui::clRed);
    menu->SetSelectedColor(gui::clNavy);
    Draw(language, MakeRect(10, 20, 210, 41), true);
    const TRect r = MakeRect(10, 20, 210, 41);
    // The one-pixel frame inside the rectangle.
    EXPECT_EQ(CountColor(target, MakeRect(10, 20, 210, 21), gui::clRed), 200);
    EXPECT_EQ(CountColor(target, MakeRect(10, 40, 210, 41), gui::clRed), 200);
    EXPECT_EQ(CountColor(target, MakeRect(10, 20, 11, 41), gui::clRed), 21);
    EXPECT_EQ(CountColor(target, MakeRect(209, 20, 210, 41), gui::clRed), 21);
    // The fill, also where the bar would be.
    EXPECT_EQ(CountColor(target, MakeRect(11, 21, 36, 40), gui::clNavy), 25 * 19);
    EXPECT_EQ(CountColor(target, r, kDeepBlueBar), 0);
    // Selected text in SelectedFontColor.
    EXPECT_GT(CountColor(target, MakeRect(36, 24, 209, 40), gui::clWhite), 0);
    EXPECT_EQ(PixelOf(target, 9, 20), kSentinel);
}

TEST_F(SkinMenu, TheSeparatorIsOneLineRightOfTheBar) {
    menu->SetSeparatorColor(gui::clRed);
    const TRect r = MakeRect(0, 30, 200, 35);
    Draw(separator, r, false);
    // From L + BarWidth + 4 to R - 2 (excluded), at T + 2.
    EXPECT_EQ(CountColor(target, MakeRect(30, 32, 198, 33), gui::clRed), 168);
    EXPECT_EQ(PixelOf(target, 29, 32), gui::clWhite);
    EXPECT_EQ(PixelOf(target, 198, 32), gui::clWhite);
    EXPECT_EQ(CountColor(target, r, gui::clRed), 168); // nothing else in its colour
    EXPECT_EQ(CountColor(target, MakeRect(0, 30, 26, 35), kDeepBlueBar), 26 * 5);
    // Selected or not, a separator looks the same.
    Draw(separator, r, true);
    EXPECT_EQ(CountColor(target, r, gui::clRed), 168);
    EXPECT_EQ(CountColor(target, r, kDeepBlueSelected), 0);
}

TEST_F(SkinMenu, TheTickLandsOnTheBarWhereTheImageWouldBe) {
    gui::TBitmap tick;
    tick.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MENU_CHECKED");
    ASSERT_EQ(tick.Width(), 16);
    Draw(autorun, MakeRect(0, 0, 200, 21), false);
    int tickPixels = 0, misplaced = 0;
    std::set<TColor> tickColours;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const TColor want = PixelOf(tick, x, y);
            const TColor got = PixelOf(target, 4 + x, 3 + y);
            if (want == gui::clWhite) {
                misplaced += got != kDeepBlueBar; // white does not paint
            } else {
                ++tickPixels;
                tickColours.insert(want);
                misplaced += got != want;
            }
        }
    EXPECT_GT(tickPixels, 10);
    EXPECT_EQ(misplaced, 0);
    // Around it, only the bar.
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 26, 3), kDeepBlueBar), 26 * 3);
    EXPECT_EQ(CountColor(target, MakeRect(20, 0, 26, 21), kDeepBlueBar), 6 * 21);

    // A disabled checked item shows the tick greyed.
    autorun->SetEnabled(false);
    Draw(autorun, MakeRect(0, 30, 200, 51), false);
    int greyed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const TColor got = PixelOf(target, 4 + x, 33 + y);
            EXPECT_EQ(tickColours.count(got), 0u) << x << "," << y;
            greyed += got != kDeepBlueBar;
        }
    EXPECT_GT(greyed, 0);
}

TEST_F(SkinMenu, ImagesAndTheBoxBehindACheckedImage) {
    Draw(settings, MakeRect(0, 0, 200, 21), false);
    // Image 1 (blue), 16 by 16 at (L + 4, T + 3).
    EXPECT_EQ(CountColor(target, MakeRect(4, 3, 20, 19), gui::clBlue), 256);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 200, 21), gui::clBlue), 256);

    settings->SetChecked(true);
    menu->SetSelectedColor(gui::clYellow);
    Draw(settings, MakeRect(0, 30, 200, 51), false);
    // A 19 by 19 black frame at (L + 2, T + 1), filled inside with SelectedColor, the image
    // on top.
    const TRect frame = MakeRect(2, 31, 21, 50);
    EXPECT_EQ(CountColor(target, frame, gui::clBlack), 19 * 4 - 4);
    EXPECT_EQ(CountColor(target, MakeRect(2, 31, 21, 32), gui::clBlack), 19);
    EXPECT_EQ(CountColor(target, MakeRect(2, 49, 21, 50), gui::clBlack), 19);
    EXPECT_EQ(CountColor(target, MakeRect(3, 32, 20, 49), gui::clYellow), 17 * 17 - 256);
    EXPECT_EQ(CountColor(target, MakeRect(4, 33, 20, 49), gui::clBlue), 256);
    EXPECT_EQ(PixelOf(target, 1, 31), kDeepBlueBar);
    EXPECT_EQ(PixelOf(target, 21, 31), kDeepBlueBar);
    // An index beyond the list: no image, and a checked item shows the tick instead.
    settings->SetImageIndex(3);
    MakeFilled(target, 300, 120, kSentinel);
    Draw(settings, MakeRect(0, 0, 200, 21), false);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 200, 21), gui::clBlue), 0);
    EXPECT_EQ(CountColor(target, MakeRect(2, 1, 21, 20), gui::clYellow), 0);
    EXPECT_LT(CountColor(target, MakeRect(4, 3, 20, 19), kDeepBlueBar), 256);
    // Nor with a negative index other than -1.
    settings->SetImageIndex(-2);
    Draw(settings, MakeRect(0, 30, 200, 51), false);
    EXPECT_EQ(CountColor(target, MakeRect(0, 30, 200, 51), gui::clYellow), 0);
    // A disabled image is greyed.
    exitItem->SetEnabled(false);
    Draw(exitItem, MakeRect(0, 60, 200, 81), false);
    EXPECT_EQ(CountColor(target, MakeRect(4, 63, 20, 79), gui::clRed), 0);
    EXPECT_LT(CountColor(target, MakeRect(4, 63, 20, 79), kDeepBlueBar), 256);
}

TEST_F(SkinMenu, ADisabledSelectedItemIsDrawnPlainWithGreyText) {
    language->SetEnabled(false);
    const TRect r = MakeRect(0, 0, 200, 21);
    Draw(language, r, true);
    EXPECT_GT(CountColor(target, MakeRect(30, 4, 200, 21), kGreyText), 0);
    EXPECT_EQ(CountColor(target, r, kDeepBlueSelected), 0);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 26, 21), kDeepBlueBar), 26 * 21);
    // Enabled and not selected: the text is FontColor, not grey.
    language->SetEnabled(true);
    menu->SetFontColor(gui::clMaroon);
    Draw(language, MakeRect(0, 30, 200, 51), false);
    EXPECT_GT(CountColor(target, MakeRect(30, 34, 200, 51), gui::clMaroon), 0);
    EXPECT_EQ(CountColor(target, MakeRect(30, 34, 200, 51), kGreyText), 0);
}

TEST_F(SkinMenu, CaptionAndShortcutSitWhereTheLayoutPutsThem) {
    const TRect r = MakeRect(5, 10, 295, 70); // a tall item: texts are not centred
    exitItem->SetImageIndex(-1);
    exitItem->SetShortCut(static_cast<std::uint16_t>(gui::scCtrl | 'Q'));
    Draw(exitItem, r, false);
    const TextReference caption = ReferenceOf(L"Exit");
    const TextReference shortcut =
        ReferenceOf(gui::ShortCutText(exitItem->ShortCut()), false, false);
    ASSERT_TRUE(caption.ink.Any() && shortcut.ink.Any());
    // The caption: 4 right of the bar, 4 below the top.
    const Ink left = InkOf(target, MakeRect(31, 10, 150, 70), gui::clWhite);
    ASSERT_TRUE(left.Any());
    EXPECT_EQ(left.left, 5 + 26 + 4 + caption.ink.left);
    EXPECT_EQ(left.top, 10 + 4 + caption.ink.top);
    EXPECT_EQ(left.bottom, 10 + 4 + caption.ink.bottom);
    // The shortcut: its text ends 16 pixels from the right edge.
    const Ink right = InkOf(target, MakeRect(150, 10, 295, 70), gui::clWhite);
    ASSERT_TRUE(right.Any());
    EXPECT_EQ(right.right, 295 - shortcut.width - 16 + shortcut.ink.right);
    EXPECT_EQ(right.top, 10 + 4 + shortcut.ink.top);

    // An ampersand underlines the next letter instead of showing; "&&" shows one.
    gui::TMenuItem* accel = menu->Items().AddItem(L"E&xit");
    MakeFilled(target, 300, 120, kSentinel);
    Draw(accel, MakeRect(0, 0, 200, 21), false);
    const Ink underlined = InkOf(target, MakeRect(27, 0, 200, 21), gui::clWhite);
    const TextReference plain = ReferenceOf(L"Exit");
    EXPECT_GT(underlined.bottom - 4, plain.ink.bottom); // the underline lies below the text
}

TEST_F(SkinMenu, TheDefaultItemIsBold) {
    Draw(language, MakeRect(0, 0, 200, 21), false);
    const Ink plain = InkOf(target, MakeRect(27, 0, 200, 21), gui::clWhite);
    language->SetDefault(true);
    Draw(language, MakeRect(0, 30, 200, 51), false);
    const Ink bold = InkOf(target, MakeRect(27, 30, 200, 51), gui::clWhite);
    ASSERT_TRUE(plain.Any() && bold.Any());
    EXPECT_EQ(bold.left, plain.left);
    EXPECT_GT(bold.right, plain.right);
}

TEST_F(SkinMenu, TheMenusOwnFontIsUsedWhenTheSystemFontIsOff) {
    Draw(language, MakeRect(0, 0, 300, 40), false);
    const Ink system = InkOf(target, MakeRect(27, 0, 300, 40), gui::clWhite);
    menu->SetUseSystemFont(false);
    menu->SetFontName(L"Arial");
    menu->SetFontSize(20);
    Draw(language, MakeRect(0, 50, 300, 90), false);
    const Ink own = InkOf(target, MakeRect(27, 50, 300, 90), gui::clWhite);
    ASSERT_TRUE(system.Any() && own.Any());
    EXPECT_GT(own.bottom - own.top, system.bottom - system.top + 5);
}

TEST_F(SkinMenu, MacOSItemsAreTheStripesStretched) {
    menu->SetUIStyle(S::MacOS);
    gui::TBitmap bar, select;
    bar.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MACOS_MENU_BAR");
    select.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MACOS_MENU_SELECT");
    ASSERT_EQ(bar.Height(), 22);
    ASSERT_EQ(select.Height(), 21);
    auto rowsMatch = [&](const gui::TBitmap& strip, int top, int rows, int x) {
        int bad = 0;
        for (int y = 0; y < rows; ++y)
            bad += PixelOf(target, x, top + y) != PixelOf(strip, 0, y);
        return bad;
    };
    // Separator: the top 12 rows of the bar bitmap, nothing else.
    Draw(separator, MakeRect(0, 0, 150, 12), false);
    for (int x : {0, 30, 75, 149})
        EXPECT_EQ(rowsMatch(bar, 0, 12, x), 0) << x;
    // An item: the top 20 rows; selected: the select bitmap; selected but disabled: plain.
    Draw(language, MakeRect(0, 20, 150, 40), false);
    EXPECT_EQ(rowsMatch(bar, 20, 20, 149), 0);
    EXPECT_EQ(rowsMatch(bar, 20, 20, 0), 0);
    Draw(language, MakeRect(0, 50, 150, 70), true);
    EXPECT_EQ(rowsMatch(select, 50, 20, 149), 0);
    EXPECT_EQ(rowsMatch(select, 50, 20, 1), 0);
    language->SetEnabled(false);
    Draw(language, MakeRect(0, 80, 150, 100), true);
    EXPECT_EQ(rowsMatch(bar, 80, 20, 149), 0);
    // The stripes differ from row to row, so the comparisons above could fail.
    EXPECT_NE(PixelOf(bar, 0, 0), PixelOf(bar, 0, 1));
    EXPECT_NE(PixelOf(select, 0, 0), PixelOf(select, 0, 1));
}

TEST_F(SkinMenu, AFlatMenuWithoutAWindowBehindTheCanvasDrawsTheItemAsUsual) {
    menu->SetFlatMenu(true);
    Draw(language, MakeRect(0, 0, 200, 21), false);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 26, 21), kDeepBlueBar), 26 * 21);
}

TEST_F(SkinMenu, TheFlatBorderFramesTheMenuWindow) {
    gui::UniqueWindow window(::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"STATIC", L"",
                                               WS_POPUP | WS_VISIBLE, 100, 100, 120, 80, nullptr,
                                               nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    ::UpdateWindow(window.get());
    DrawFlatMenuBorder(window.get(), gui::clRed, gui::clLime);
    const gui::WindowDC dc = gui::WindowDC::Whole(window.get());
    auto at = [&](int x, int y) { return gui::ColorFromRGB(::GetPixel(dc.get(), x, y)); };
    // The line colour along the bottom, right and top outer edges; the frame colour just
    // inside on the left; white inside that.
    EXPECT_EQ(at(60, 79), gui::clLime);
    EXPECT_EQ(at(119, 40), gui::clLime);
    EXPECT_EQ(at(60, 0), gui::clLime);
    EXPECT_EQ(at(0, 40), gui::clRed);
    EXPECT_EQ(at(1, 40), gui::clWhite);
    EXPECT_EQ(at(60, 77), gui::clWhite);
    // A window that is gone, or none: nothing happens.
    HWND gone = window.get();
    window.reset();
    EXPECT_NO_FATAL_FAILURE(DrawFlatMenuBorder(gone, gui::clRed, gui::clLime));
    EXPECT_NO_FATAL_FAILURE(DrawFlatMenuBorder(nullptr, gui::clRed, gui::clLime));
}

TEST_F(SkinMenu, SystemMenuFontTakesTheMenuFontAndTextColour) {
    gui::TFont font;
    font.SetColor(gui::clRed);
    SetSystemMenuFont(font);
    EXPECT_TRUE(font.HandleAllocated());
    EXPECT_EQ(font.Color(), 0xFF000007u);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW got{};
    ::GetObjectW(font.Handle(), sizeof got, &got);
    EXPECT_EQ(std::wstring(got.lfFaceName), std::wstring(metrics.lfMenuFont.lfFaceName));
    EXPECT_EQ(got.lfHeight, metrics.lfMenuFont.lfHeight);
}

// --- the shared check mark -----------------------------------------------------------

TEST_F(SkinMenu, TheCheckMarkListIsSharedAndGoesWithTheApplication) {
    gui::TImageList* shared = CheckMarkImages();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(CheckMarkImages(), shared);
    EXPECT_EQ(shared->Count(), 1);
    EXPECT_EQ(shared->Width(), 16);
    EXPECT_EQ(shared->Height(), 16);
    Draw(autorun, MakeRect(0, 0, 200, 21), false); // makes its image lists
    const long lists = gui::HandleCounters::Live(gui::HandleKind::ImageList);
    EXPECT_GT(lists, 0);
    app.reset();
    EXPECT_LT(gui::HandleCounters::Live(gui::HandleKind::ImageList), lists);
    EXPECT_EQ(CheckMarkImages(), nullptr);
    // Without an application the tick is still drawn, from a list made for the call.
    const long before = gui::HandleCounters::Live(gui::HandleKind::ImageList);
    Draw(autorun, MakeRect(0, 30, 200, 51), false);
    EXPECT_EQ(gui::HandleCounters::Live(gui::HandleKind::ImageList), before);
    int tick = 0;
    for (int y = 33; y < 49; ++y)
        for (int x = 4; x < 20; ++x)
            tick += PixelOf(target, x, y) != PixelOf(target, x, y - 30);
    EXPECT_EQ(tick, 0);
    // A new application gets a new list.
    app = std::make_unique<gui::TApplication>();
    EXPECT_NE(CheckMarkImages(), nullptr);
}

// --- leaks -----------------------------------------------------------------------------

TEST_F(SkinMenu, RepeatedMeasuringAndDrawingLeaksNothing) {
    gui::TMenuItem* items[] = {settings, language, separator, autorun, exitItem};
    auto round = [&](int i) {
        gui::TMenuItem* item = items[i % 5];
        menu->SetUIStyle(i % 3 == 0 ? S::MacOS : S::DeepBlue);
        menu->SetUseSystemFont(i % 4 != 0);
        Measure(item);
        Draw(item, MakeRect(0, 0, 200, 21), i % 2 == 0);
    };
    for (int i = 0; i < 10; ++i)
        round(i);
    const gui::testing::LiveHandles before;
    for (int i = 0; i < 600; ++i)
        round(i);
    const gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    if (before.processGdi > 0) {
        EXPECT_LE(after.processGdi, before.processGdi + 2);
    }
}

// Drawn and measured items of the open menu, and the timer that closes it.
struct OpenMenuWatch {
    static inline int draws = 0;
    static inline int measures = 0;
    static inline int ticks = 0;
    static void CALLBACK Close(HWND, UINT, UINT_PTR, DWORD) {
        // Closed once something has been drawn, or after half a second at the latest.
        if (draws > 0 || ++ticks > 25)
            ::EndMenu();
    }
};

TEST_F(SkinMenu, OpeningAndClosingTheRealMenuManyTimesLeaksNoHandles) {
    menu->AttachItemHandlers();
    // Count what Windows asks of the handlers while the menu is open.
    for (gui::TMenuItem* item : {settings, language, separator, autorun, exitItem}) {
        const gui::TMenuDrawItemEvent draw = item->OnDrawItem();
        const gui::TMenuMeasureItemEvent measure = item->OnMeasureItem();
        item->SetOnDrawItem([draw](gui::TObject* s, gui::TCanvas& c, const TRect& r, bool sel) {
            ++OpenMenuWatch::draws;
            draw(s, c, r, sel);
        });
        item->SetOnMeasureItem([measure](gui::TObject* s, gui::TCanvas& c, int& w, int& h) {
            ++OpenMenuWatch::measures;
            measure(s, c, w, h);
        });
    }
    int errors = 0;
    app->SetOnException([&](gui::TObject*, const std::exception&) { ++errors; });
    auto open = [&] {
        OpenMenuWatch::draws = 0;
        OpenMenuWatch::ticks = 0;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &OpenMenuWatch::Close);
        menu->Popup(200, 150);
        ::KillTimer(nullptr, timer);
        app->ProcessMessages();
        return OpenMenuWatch::draws;
    };
    ASSERT_GT(open(), 0) << "the menu was never drawn";
    EXPECT_GT(OpenMenuWatch::measures, 0);
    const gui::testing::LiveHandles before;
    int drawnOpenings = 0;
    constexpr int kOpenings = 200;
    for (int i = 0; i < kOpenings; ++i)
        drawnOpenings += open() > 0;
    const gui::testing::LiveHandles after;
    EXPECT_EQ(drawnOpenings, kOpenings);
    EXPECT_EQ(errors, 0);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    if (before.processGdi > 0) {
        EXPECT_LE(after.processGdi, before.processGdi + 2);
    }
    if (before.processUser > 0) {
        EXPECT_LE(after.processUser, before.processUser + 2);
    }
    std::printf("[ MEASURED ] %d openings drawn; GDI objects %ld -> %ld, USER objects %ld -> %ld "
                "(process: GDI %ld -> %ld, USER %ld -> %ld)\n",
                drawnOpenings, before.gdi, after.gdi, before.user, after.user, before.processGdi,
                after.processGdi, before.processUser, after.processUser);
}

// --- the documentation picture ---------------------------------------------------------

// The tray menu drawn through the real handlers in all five looks, side by side, DeepBlue
// (the tray menu's own) first; "Settings" selected, "Exit" disabled. Written as a BMP when
// NESTORA_MENU_PICTURE names a file (scripts/docs-menu turns it into docs/menu.png).
TEST_F(SkinMenu, TheTrayMenuInEveryLook) {
    images->Clear();
    images->SetBitmaps({L"IMG_EXIT", L"IMG_SHOWWIN", L"IMG_FOLDER"});
    ASSERT_EQ(images->Count(), 3);
    menu->SetAutoHotkeys(gui::TMenuAutoFlag::maAutomatic);
    exitItem->SetEnabled(false);
    gui::TMenuItem* items[] = {settings, language, separator, autorun, menu->Items()[4], exitItem};
    const S looks[] = {S::DeepBlue, S::MacOS, S::WinXP, S::Protein, S::BlueGlass};
    constexpr int kMargin = 16;
    constexpr int kLabel = 22;
    int menuWidth = 0;
    for (gui::TMenuItem* item : items)
        menuWidth = std::max(menuWidth, Measure(item).Width);
    menuWidth += 30; // room where Windows puts the sub-menu arrow
    int tallest = 0;
    for (S look : looks) {
        menu->SetUIStyle(look);
        int h = 0;
        for (gui::TMenuItem* item : items)
            h += Measure(item).Height;
        tallest = std::max(tallest, h);
    }
    const int panel = menuWidth + 6 + kMargin;
    gui::TBitmap picture;
    MakeFilled(picture, kMargin + 5 * panel, kMargin + kLabel + tallest + 6 + kMargin, 0x00F0F0F0);
    gui::TCanvas& c = picture.Canvas();
    SetSystemMenuFont(c.Font());
    c.Font().SetColor(gui::clBlack);
    c.Brush().SetStyle(gui::TBrushStyle::bsClear);
    for (int i = 0; i < 5; ++i) {
        const S look = looks[i];
        menu->SetUIStyle(look);
        const int left = kMargin + i * panel;
        const int top = kMargin + kLabel;
        c.Brush().SetStyle(gui::TBrushStyle::bsClear);
        c.TextOut(left, kMargin, std::wstring(StyleName(look)));
        int y = top + 3;
        for (gui::TMenuItem* item : items) {
            const int h = Measure(item).Height;
            const TRect r = MakeRect(left + 3, y, left + 3 + menuWidth, y + h);
            menu->DrawMenuItem(item, c, r, item == settings);
            if (item == settings && look != S::MacOS) {
                EXPECT_EQ(PixelOf(picture, r.Right - 3, y + 2), menu->SelectedColor());
            }
            if (item == language && look != S::MacOS) {
                EXPECT_EQ(PixelOf(picture, left + 4, y + 1), menu->BarColor());
            }
            y += h;
        }
        // A popup menu's raised border, as Windows draws one round the items.
        const TRect outer = MakeRect(left, top, left + menuWidth + 6, y + 3);
        c.Brush().SetStyle(gui::TBrushStyle::bsSolid);
        c.Brush().SetColor(0x00A0A0A0);
        c.FrameRect(outer);
        c.Brush().SetColor(menu->Color() == 0 ? 0x00E7E7E7 : menu->Color());
        c.FrameRect(gui::InflatedRect(outer, -1, -1));
        c.FrameRect(gui::InflatedRect(outer, -2, -2));
    }
    if (const char* path = std::getenv("NESTORA_MENU_PICTURE")) {
        // 24 bits: GDI leaves the alpha bytes of a 32-bit picture at 0, which viewers take
        // for transparency.
        picture.SetPixelFormat(gui::TPixelFormat::pf24bit);
        const std::vector<std::uint8_t> bytes = picture.SaveToMemory();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << path;
    }
}

} // namespace
} // namespace nestora::skin
