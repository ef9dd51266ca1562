// The skinned main menu on a sample skinned form under Wine: its properties and the private
// tick list behind Images, how it finds its frame, the frame's menu bar (buttons in item
// order, run-time changes, attach and detach, heights and colours, a description loading
// it), the bar's button and background drawing checked pixel by pixel (a hot MacOS button,
// a pressed DeepBlue one, on memory bitmaps and in the real window), the drop-down items'
// tick and image rules, shortcuts only while the form is active, real drop-downs opened
// many times without handle growth, and the documentation pictures of the sample form.
#include "skin/menus/sui_main_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/shortcut_text.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/font.h"
#include "gui/win/form.h"
#include "gui/win/graphics_color.h"
#include "gui/win/image_list.h"
#include "gui/win/standard_classes.h"
#include "gui/win/tool_bar.h"
#include "skin/menu_bar_layout.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"
#include "skin/sui_style_win.h"

#include "../../gui/win/app_test_support.h"
#include "../../gui/win/graphics_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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
using gui::testing::MakeFilled;
using gui::testing::PixelOf;
using gui::testing::WindowPicture;
using S = TsuiUIStyle;

constexpr TColor kSentinel = gui::clFuchsia; // never drawn by the bar or the menu
constexpr TColor kDeepBlueSelected = 0x00A04A44;
constexpr TColor kWhite = 0x00FFFFFF;

// The extent of the pixels of a bitmap that differ from a reference picture of it.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Any() const { return right >= 0; }
};

Ink InkAgainst(const gui::TBitmap& b, const gui::TBitmap& reference, const TRect& area) {
    Ink ink;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (PixelOf(b, x, y) != PixelOf(reference, x, y)) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// Where a caption's ink lands when drawn centred (single line) in rect of a w by h picture,
// in the system menu font: the reference the bar's captions are compared with.
Ink CentredInk(const std::wstring& text, int w, int h, TRect rect) {
    gui::TBitmap plain, drawn;
    MakeFilled(plain, w, h, gui::clWhite);
    MakeFilled(drawn, w, h, gui::clWhite);
    gui::TCanvas& c = drawn.Canvas();
    SetSystemMenuFont(c.Font());
    c.Font().SetColor(gui::clBlack);
    c.Brush().SetStyle(gui::TBrushStyle::bsClear);
    c.DrawText(text, rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return InkAgainst(drawn, plain, MakeRect(0, 0, w, h));
}

// A resource bitmap stretched over a w by h picture, as the bar stretches its stripes.
void StretchedResource(gui::TBitmap& out, const wchar_t* name, int w, int h) {
    MakeFilled(out, w, h, kSentinel);
    gui::TBitmap strip;
    strip.LoadFromResourceName(::GetModuleHandleW(nullptr), name);
    ::SetStretchBltMode(out.Canvas().Handle(), COLORONCOLOR);
    out.Canvas().CopyRect(MakeRect(0, 0, w, h), strip.Canvas(),
                          MakeRect(0, 0, strip.Width(), strip.Height()));
}

std::set<TColor> ColoursOf(const wchar_t* name) {
    gui::TBitmap b;
    b.LoadFromResourceName(::GetModuleHandleW(nullptr), name);
    std::set<TColor> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            out.insert(PixelOf(b, x, y));
    return out;
}

struct Clicks {
    int newItem = 0;
    int open = 0;
    int exit = 0;
    int refresh = 0;
};

// The sample form: a skinned form with a main menu of two top-level items, "&File" (New
// Ctrl+N, Open... F5, a separator, a disabled Exit with Ctrl+Q) and "&View" (a checked
// Status bar, Refresh F6).
class MainMenuTest : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = gui::Create<gui::TForm>(app.get());
        form->SetBorderStyle(gui::TFormBorderStyle::bsSingle);
        form->SetBounds(120, 90, 320, 200);
        form->SetCaption(L"Sample");
        frame = gui::Create<TsuiForm>(form);
        menu = gui::Create<TsuiMainMenu>(form);
        gui::TMenuItem& root = menu->Items();
        file = root.AddItem(L"&File");
        newItem = file->AddItem(L"&New", [this](gui::TObject*) { ++clicks.newItem; });
        newItem->SetShortCut(gui::scCtrl | 'N');
        open = file->AddItem(L"&Open...", [this](gui::TObject*) { ++clicks.open; });
        open->SetShortCut(VK_F5);
        file->AddItem(L"-");
        exitItem = file->AddItem(L"E&xit", [this](gui::TObject*) { ++clicks.exit; });
        exitItem->SetShortCut(gui::scCtrl | 'Q');
        exitItem->SetEnabled(false);
        view = root.AddItem(L"&View");
        status = view->AddItem(L"&Status bar");
        status->SetChecked(true);
        refresh = view->AddItem(L"&Refresh", [this](gui::TObject*) { ++clicks.refresh; });
        refresh->SetShortCut(VK_F6);
        // As a window description would: the items are there, then the menu is loaded.
        menu->Loaded();
    }
    void ShowForm() {
        form->Show();
        Pump(40);
    }
    gui::TToolBar& Bar() {
        EXPECT_NE(frame->MenuBar(), nullptr);
        return *frame->MenuBar();
    }
    std::vector<std::wstring> ButtonCaptions() {
        std::vector<std::wstring> out;
        for (int i = 0; i < Bar().ButtonCount(); ++i)
            out.push_back(Bar().Buttons(i)->Caption());
        return out;
    }

    gui::TForm* form = nullptr;
    TsuiForm* frame = nullptr;
    TsuiMainMenu* menu = nullptr;
    gui::TMenuItem* file = nullptr;
    gui::TMenuItem* newItem = nullptr;
    gui::TMenuItem* open = nullptr;
    gui::TMenuItem* exitItem = nullptr;
    gui::TMenuItem* view = nullptr;
    gui::TMenuItem* status = nullptr;
    gui::TMenuItem* refresh = nullptr;
    Clicks clicks;
};

// --- the component ------------------------------------------------------------------------------

TEST_F(MainMenuTest, PublishesItsPropertiesInTheirOrderWithTheirStartingValues) {
    std::vector<std::string> names;
    for (const gui::PropertyInfo& p : TsuiMainMenu::StaticClassInfo().OwnProperties())
        names.push_back(p.name);
    const std::vector<std::string> expected{"Images",
                                            "OwnerDraw",
                                            "FileTheme",
                                            "UIStyle",
                                            "MenuItemHeight",
                                            "SeparatorHeight",
                                            "BarWidth",
                                            "BarColor",
                                            "Color",
                                            "SeparatorColor",
                                            "SelectedBorderColor",
                                            "SelectedColor",
                                            "SelectedFontColor",
                                            "FontColor",
                                            "BorderColor",
                                            "FlatMenu",
                                            "FontName",
                                            "FontSize",
                                            "FontCharset",
                                            "UseSystemFont"};
    EXPECT_EQ(names, expected);

    // The frame is DeepBlue, so the menu starts so.
    EXPECT_EQ(menu->UIStyle(), S::DeepBlue);
    EXPECT_EQ(menu->MenuItemHeight(), 21);
    EXPECT_EQ(menu->SelectedColor(), kDeepBlueSelected);
    EXPECT_EQ(menu->BarWidth(), 26);
    EXPECT_EQ(menu->FontName(), L"MS Sans Serif");
    EXPECT_TRUE(menu->UseSystemFont());
    EXPECT_TRUE(menu->OwnerDraw());
    gui::SetPropertyValue(*menu, "OwnerDraw", false);
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_THROW(menu->SetFontCharset(256), gui::EConvertError);
}

TEST_F(MainMenuTest, ImagesReadsNoneWhileOnlyThePrivateTickListIsInstalled) {
    const gui::TMainMenu& base = *menu;
    ASSERT_NE(menu->CheckMarkImageList(), nullptr);
    EXPECT_EQ(menu->CheckMarkImageList()->Count(), 1);
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_EQ(base.Images(), menu->CheckMarkImageList());
    EXPECT_TRUE(base.IsOwnerDraw());
    EXPECT_TRUE(std::holds_alternative<gui::TComponent*>(gui::GetPropertyValue(*menu, "Images")));
    EXPECT_EQ(std::get<gui::TComponent*>(gui::GetPropertyValue(*menu, "Images")), nullptr);

    auto* images = gui::Create<gui::TImageList>(form);
    menu->SetImages(images);
    EXPECT_EQ(menu->Images(), images);
    EXPECT_EQ(base.Images(), images);
    menu->SetImages(nullptr);
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_EQ(base.Images(), menu->CheckMarkImageList());

    // A user list that goes leaves the tick list behind, so the menu stays owner-drawn.
    menu->SetImages(images);
    images->Free();
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_EQ(base.Images(), menu->CheckMarkImageList());
    EXPECT_TRUE(base.IsOwnerDraw());
}

TEST_F(MainMenuTest, AfterConstructionAttachesToTheFormsFrameAndClearsTheFormsOwnMenu) {
    EXPECT_EQ(frame->Menu(), menu);
    EXPECT_EQ(menu->SkinnedForm(), frame);

    // A form without a frame: its own menu is cleared, no bar is made anywhere.
    gui::TForm* bare = gui::Create<gui::TForm>(app.get());
    auto* plain = gui::Create<gui::TMainMenu>(bare);
    bare->SetMenu(plain);
    auto* unframed = gui::Create<TsuiMainMenu>(bare);
    EXPECT_EQ(bare->Menu(), nullptr);
    EXPECT_EQ(unframed->SkinnedForm(), nullptr);
    EXPECT_EQ(bare->ControlCount(), 0);

    // Not owned by a form: left alone.
    const gui::ComponentPtr<TsuiMainMenu> loose = gui::MakeComponent<TsuiMainMenu>();
    EXPECT_EQ(loose->SkinnedForm(), nullptr);
    EXPECT_EQ(loose->UIStyle(), S::DeepBlue);

    // A second skinned menu on the sample form takes the frame over; the first lets go.
    auto* second = gui::Create<TsuiMainMenu>(form);
    EXPECT_EQ(frame->Menu(), second);
    EXPECT_EQ(second->SkinnedForm(), frame);
    EXPECT_EQ(menu->SkinnedForm(), nullptr);
}

TEST_F(MainMenuTest, TheMenuTakesTheFramesStyleAtCreationAndWhenTheFrameChanges) {
    frame->SetUIStyle(S::MacOS);
    EXPECT_EQ(menu->UIStyle(), S::MacOS);
    EXPECT_EQ(menu->MenuItemHeight(), 20);
    gui::TForm* other = gui::Create<gui::TForm>(app.get());
    auto* macFrame = gui::Create<TsuiForm>(other);
    macFrame->SetUIStyle(S::MacOS);
    auto* macMenu = gui::Create<TsuiMainMenu>(other);
    EXPECT_EQ(macMenu->UIStyle(), S::MacOS);
    frame->SetUIStyle(S::WinXP);
    EXPECT_EQ(menu->UIStyle(), S::WinXP);
    EXPECT_EQ(menu->SelectedBorderColor(), 0x00C66931u);
}

// --- the menu bar -------------------------------------------------------------------------------

TEST_F(MainMenuTest, TheBarHasOneButtonPerTopLevelItemInItemOrderUnderTheTitleBar) {
    ShowForm();
    gui::TToolBar& bar = Bar();
    EXPECT_EQ(bar.Parent(), frame);
    EXPECT_EQ(ButtonCaptions(), (std::vector<std::wstring>{L"&File", L"&View"}));
    EXPECT_EQ(bar.Buttons(0)->MenuItem(), file);
    EXPECT_EQ(bar.Buttons(1)->MenuItem(), view);
    for (int i = 0; i < bar.ButtonCount(); ++i) {
        EXPECT_TRUE(bar.Buttons(i)->Grouped());
        EXPECT_TRUE(bar.Buttons(i)->AutoSize());
        EXPECT_EQ(bar.Buttons(i)->Owner(), frame);
    }
    EXPECT_EQ(frame->TitleBar().Top(), 0);
    EXPECT_EQ(bar.Top(), frame->TitleBar().Height());
    EXPECT_EQ(bar.Height(), 22);
    EXPECT_EQ(bar.Width(), frame->ClientWidth());
    const TRect first = bar.Buttons(0)->BoundsRect();
    const TRect second = bar.Buttons(1)->BoundsRect();
    EXPECT_FALSE(first.IsEmpty());
    EXPECT_LE(first.Right, second.Left);
    EXPECT_EQ(second.Height(), 22);
}

TEST_F(MainMenuTest, RunTimeChangesReachTheButtonsButAddNoButton) {
    ShowForm();
    view->SetCaption(L"&Look");
    EXPECT_EQ(Bar().Buttons(1)->Caption(), L"&Look");
    file->SetEnabled(false);
    EXPECT_FALSE(Bar().Buttons(0)->Enabled());
    file->SetEnabled(true);
    EXPECT_TRUE(Bar().Buttons(0)->Enabled());

    gui::TMenuItem* help = menu->Items().AddItem(L"&Help");
    EXPECT_EQ(Bar().ButtonCount(), 2);
    // ...nor handlers for the new item: the menu's handlers went on at loading.
    EXPECT_FALSE(static_cast<bool>(help->OnDrawItem()));
    EXPECT_TRUE(static_cast<bool>(status->OnDrawItem()));
    // Loading again (as a designer's change would) makes the buttons anew.
    menu->Loaded();
    EXPECT_EQ(ButtonCaptions(), (std::vector<std::wstring>{L"&File", L"&Look", L"&Help"}));
}

TEST_F(MainMenuTest, DetachingRemovesTheBarAndBothEndsOfTheLink) {
    const int controls = frame->ControlCount();
    frame->SetMenu(nullptr);
    EXPECT_EQ(frame->MenuBar(), nullptr);
    EXPECT_EQ(frame->ControlCount(), controls - 1);
    EXPECT_EQ(menu->SkinnedForm(), nullptr);
    // Setting UseSystemFont now touches no form.
    menu->SetUseSystemFont(false);

    frame->SetMenu(menu);
    EXPECT_EQ(menu->SkinnedForm(), frame);
    EXPECT_EQ(ButtonCaptions(), (std::vector<std::wstring>{L"&File", L"&View"}));

    menu->Free();
    EXPECT_EQ(frame->Menu(), nullptr);
    EXPECT_EQ(frame->MenuBar(), nullptr);
}

TEST_F(MainMenuTest, AFrameThatGoesFirstLeavesTheMenuWithoutALink) {
    frame->Free();
    EXPECT_EQ(menu->SkinnedForm(), nullptr);
    menu->SetUseSystemFont(false);
    view->SetCaption(L"Still fine");
    menu->Loaded();
    EXPECT_EQ(view->Caption(), L"Still fine");
}

TEST_F(MainMenuTest, BarHeightColourAndFontFollowTheFrameAndTheMenu) {
    ShowForm();
    frame->SetMenuBarHeight(30);
    EXPECT_EQ(Bar().Height(), 30);
    EXPECT_EQ(Bar().ButtonHeight(), 30);
    frame->SetMenuBarColor(0x00123456);
    EXPECT_EQ(Bar().Color(), 0x00123456u);
    frame->SetUIStyle(S::MacOS);
    EXPECT_EQ(Bar().Color(), 0x00E7E7E7u); // the style's background colour

    menu->SetFontName(L"Tahoma");
    menu->SetFontSize(11);
    menu->SetUseSystemFont(false);
    EXPECT_EQ(Bar().Font().Name(), L"Tahoma");
    EXPECT_EQ(Bar().Font().Size(), 11);
    menu->SetUseSystemFont(true);
    gui::TFont system;
    SetSystemMenuFont(system);
    EXPECT_EQ(Bar().Font().Name(), system.Name());
}

constexpr char kSampleForm[] = R"(object Sample: TForm
  Left = 100
  Top = 100
  BorderStyle = bsSingle
  Caption = 'Sample'
  ClientHeight = 160
  ClientWidth = 300
  object Frame: TsuiForm
    UIStyle = MacOS
  end
  object MainMenu1: TsuiMainMenu
    UIStyle = MacOS
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Caption = '&New'
      end
    end
    object Edit1: TMenuItem
      Caption = '&Edit'
    end
    object Help1: TMenuItem
      Caption = '&Help'
    end
  end
end
)";

TEST_F(MainMenuTest, AMenuReadFromADescriptionGetsItsButtonsWhenLoaded) {
    gui::TForm* window = gui::Create<gui::TForm>(app.get());
    gui::ClassRegistry classes;
    gui::RegisterStandardClasses(classes);
    classes.Register(TsuiForm::StaticClassInfo());
    classes.Register(TsuiMainMenu::StaticClassInfo());
    classes.Register(gui::TMenuItem::StaticClassInfo());
    window->ReadDescription(kSampleForm, classes);
    auto* loadedFrame = dynamic_cast<TsuiForm*>(window->FindComponent(L"Frame"));
    auto* loadedMenu = dynamic_cast<TsuiMainMenu*>(window->FindComponent(L"MainMenu1"));
    ASSERT_NE(loadedFrame, nullptr);
    ASSERT_NE(loadedMenu, nullptr);
    EXPECT_EQ(loadedFrame->Menu(), loadedMenu);
    ASSERT_NE(loadedFrame->MenuBar(), nullptr);
    gui::TToolBar& bar = *loadedFrame->MenuBar();
    ASSERT_EQ(bar.ButtonCount(), 3);
    EXPECT_EQ(bar.Buttons(0)->Caption(), L"&File");
    EXPECT_EQ(bar.Buttons(2)->Caption(), L"&Help");
    EXPECT_EQ(window->Menu(), nullptr);
    // Handlers on every item, sub-items included.
    auto* newItemLoaded = dynamic_cast<gui::TMenuItem*>(window->FindComponent(L"New1"));
    ASSERT_NE(newItemLoaded, nullptr);
    EXPECT_TRUE(static_cast<bool>(newItemLoaded->OnDrawItem()));
}

// --- drawing the bar's buttons ------------------------------------------------------------------

class BarButtonDrawing : public MainMenuTest {
protected:
    static constexpr int kW = 60;
    static constexpr int kH = 22;
    bool Draw(S style, unsigned state) {
        frame->SetUIStyle(style);
        MakeFilled(target, kW, kH, kSentinel);
        SetSystemMenuFont(target.Canvas().Font());
        bool defaultDraw = true;
        frame->DrawMenuBarButton(Bar().Buttons(0), target.Canvas(), MakeRect(0, 0, kW, kH), state,
                                 defaultDraw);
        return defaultDraw;
    }
    gui::TBitmap target;
};

TEST_F(BarButtonDrawing, APlainButtonIsLeftToTheToolBar) {
    for (S style : {S::MacOS, S::DeepBlue}) {
        EXPECT_TRUE(Draw(style, 0));
        EXPECT_EQ(gui::testing::CountColor(target, MakeRect(0, 0, kW, kH), kSentinel), kW * kH);
        EXPECT_TRUE(Draw(style, gui::cdsDisabled));
    }
}

TEST_F(BarButtonDrawing, AHotMacOSButtonIsStripedWithItsCaptionCentredOnePixelLow) {
    EXPECT_FALSE(Draw(S::MacOS, gui::cdsHot));
    gui::TBitmap stripes;
    StretchedResource(stripes, L"MACOS_MENU_SELECT", kW, kH);
    // Beside the caption: the stripes, every row.
    for (int y = 0; y < kH; ++y) {
        EXPECT_EQ(PixelOf(target, 0, y), PixelOf(stripes, 0, y)) << "row " << y;
        EXPECT_EQ(PixelOf(target, kW - 1, y), PixelOf(stripes, kW - 1, y)) << "row " << y;
    }
    // The caption in MenuSelectedFontColor, where a centred caption would be, one pixel lower.
    const Ink ink = InkAgainst(target, stripes, MakeRect(0, 0, kW, kH));
    ASSERT_TRUE(ink.Any());
    const Ink centred = CentredInk(L"&File", kW, kH, MakeRect(0, 0, kW, kH));
    EXPECT_EQ(ink.top, centred.top + 1);
    EXPECT_EQ(ink.bottom, centred.bottom + 1);
    EXPECT_EQ(ink.left, centred.left);
    EXPECT_EQ(ink.right, centred.right);
    EXPECT_GT(
        gui::testing::CountColor(target, MakeRect(0, 0, kW, kH),
                                 GetStyleColor(S::MacOS, StyleElement::MenuSelectedFontColor)),
        0);
}

TEST_F(BarButtonDrawing, APressedDeepBlueButtonIsFilledFramedTwoNarrowerCaptionMoved) {
    EXPECT_FALSE(Draw(S::DeepBlue, gui::cdsSelected));
    // Filled and framed in $00A04A44 up to 2 pixels before the right edge.
    EXPECT_EQ(PixelOf(target, 0, 0), kDeepBlueSelected);
    EXPECT_EQ(PixelOf(target, kW - 3, kH - 1), kDeepBlueSelected);
    EXPECT_EQ(PixelOf(target, 1, kH / 2), kDeepBlueSelected);
    // What was under the two right columns stays.
    for (int y = 0; y < kH; ++y) {
        EXPECT_EQ(PixelOf(target, kW - 2, y), kSentinel);
        EXPECT_EQ(PixelOf(target, kW - 1, y), kSentinel);
    }
    gui::TBitmap filled;
    MakeFilled(filled, kW, kH, kDeepBlueSelected);
    const Ink ink = InkAgainst(target, filled, MakeRect(0, 0, kW - 2, kH));
    ASSERT_TRUE(ink.Any());
    const Ink moved = CentredInk(L"&File", kW, kH, MakeRect(2, 2, kW - 2, kH));
    EXPECT_EQ(ink.left, moved.left);
    EXPECT_EQ(ink.top, moved.top);
    EXPECT_EQ(ink.right, moved.right);
    EXPECT_EQ(ink.bottom, moved.bottom);
    EXPECT_GT(gui::testing::CountColor(target, MakeRect(0, 0, kW, kH), kWhite), 0);
}

TEST_F(BarButtonDrawing, AHotDeepBlueButtonKeepsItsWholeWidth) {
    EXPECT_FALSE(Draw(S::DeepBlue, gui::cdsHot));
    EXPECT_EQ(PixelOf(target, kW - 1, kH / 2), kDeepBlueSelected);
    EXPECT_EQ(PixelOf(target, kW - 2, kH / 2), kDeepBlueSelected);
}

TEST_F(MainMenuTest, TheRealBarShowsTheStylesBackgroundAndHighlights) {
    frame->SetUIStyle(S::MacOS);
    ShowForm();
    gui::TToolBar& bar = Bar();
    const HWND window = bar.Handle();
    {
        // Right of the last button: the MacOS stripes, row by row.
        const WindowPicture picture(window);
        gui::TBitmap stripes;
        StretchedResource(stripes, L"MACOS_MENU_BAR", picture.width, picture.height);
        for (int y = 0; y < picture.height; ++y)
            EXPECT_EQ(picture.Pixel(picture.width - 3, y), PixelOf(stripes, 0, y)) << y;
    }
    {
        // The hot first button: MACOS_MENU_SELECT's colours, none of the bar's.
        ::SendMessageW(window, TB_SETHOTITEM, 0, 0);
        const WindowPicture picture(window);
        const TRect b = bar.Buttons(0)->BoundsRect();
        const std::set<TColor> select = ColoursOf(L"MACOS_MENU_SELECT");
        EXPECT_TRUE(select.count(picture.Pixel(b.Left + 1, b.Top + 1)))
            << std::hex << picture.Pixel(b.Left + 1, b.Top + 1);
        EXPECT_TRUE(select.count(picture.Pixel(b.Right - 2, b.Bottom - 3)));
        ::SendMessageW(window, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    }
    frame->SetUIStyle(S::DeepBlue);
    Pump(20);
    {
        const WindowPicture picture(window);
        EXPECT_EQ(picture.Pixel(picture.width - 3, picture.height / 2), frame->MenuBarColor());
        // Pressed: the DeepBlue fill, two columns short of the button's right edge.
        const int command = bar.Buttons(1)->Command();
        ::SendMessageW(window, TB_PRESSBUTTON, static_cast<WPARAM>(command), TRUE);
        const WindowPicture pressed(window);
        const TRect b = bar.Buttons(1)->BoundsRect();
        EXPECT_EQ(pressed.Pixel(b.Left + 1, b.Top + 1), kDeepBlueSelected);
        EXPECT_EQ(pressed.Pixel(b.Right - 3, b.Top + 1), kDeepBlueSelected);
        EXPECT_EQ(pressed.Pixel(b.Right - 1, b.Top + 1), frame->MenuBarColor());
        ::SendMessageW(window, TB_PRESSBUTTON, static_cast<WPARAM>(command), FALSE);
    }
}

// --- the drop-down items ------------------------------------------------------------------------

TEST_F(MainMenuTest, ACheckedItemShowsThePrivateTickOrTheFramedBoxWithAUserImage) {
    constexpr int kW = 160;
    constexpr int kH = 21;
    gui::TBitmap drawn;
    MakeFilled(drawn, kW, kH, kSentinel);
    menu->DrawMenuItem(status, drawn.Canvas(), MakeRect(0, 0, kW, kH), false);
    // The reference: the bar's colour with the private list's tick at (4, 3).
    gui::TBitmap tick;
    MakeFilled(tick, kW, kH, menu->BarColor());
    menu->CheckMarkImageList()->Draw(tick.Canvas(), 4, 3, 0, true);
    int differing = 0, tickPixels = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < menu->BarWidth(); ++x) {
            differing += PixelOf(drawn, x, y) != PixelOf(tick, x, y);
            tickPixels += PixelOf(tick, x, y) != menu->BarColor();
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(tickPixels, 10);

    // With a user list and a valid index: the black frame, the box and the image.
    auto* images = gui::Create<gui::TImageList>(form);
    gui::TBitmap red;
    MakeFilled(red, 16, 16, gui::clRed);
    images->AddMasked(red, kSentinel);
    menu->SetImages(images);
    status->SetImageIndex(0);
    MakeFilled(drawn, kW, kH, kSentinel);
    menu->DrawMenuItem(status, drawn.Canvas(), MakeRect(0, 0, kW, kH), false);
    EXPECT_EQ(PixelOf(drawn, 2, 1), gui::clBlack);
    EXPECT_EQ(PixelOf(drawn, 3, 2), menu->SelectedColor());
    EXPECT_EQ(PixelOf(drawn, 12, 11), gui::clRed);

    // An index past the list's end: the tick again.
    status->SetImageIndex(5);
    MakeFilled(drawn, kW, kH, kSentinel);
    menu->DrawMenuItem(status, drawn.Canvas(), MakeRect(0, 0, kW, kH), false);
    EXPECT_EQ(PixelOf(drawn, 2, 1), menu->BarColor());
    EXPECT_EQ(PixelOf(drawn, 12, 11), PixelOf(tick, 12, 11));
}

TEST_F(MainMenuTest, ItemsAreMeasuredAsThePopupMenuMeasuresThem) {
    gui::TBitmap b;
    MakeFilled(b, 10, 10, gui::clWhite);
    gui::TCanvas& c = b.Canvas();
    SetSystemMenuFont(c.Font());
    int w = 0, h = 0;
    menu->MeasureMenuItem(open, c, w, h);
    EXPECT_EQ(h, 21);
    EXPECT_EQ(w, c.TextWidth(open->DisplayCaption()) + c.TextWidth(L"F5") + 26 + 40);
    menu->MeasureMenuItem(file->Items(2), c, w, h);
    EXPECT_EQ(h, 5);
    frame->SetUIStyle(S::MacOS);
    menu->MeasureMenuItem(open, c, w, h);
    EXPECT_EQ(h, 20);
}

// --- shortcuts ----------------------------------------------------------------------------------

TEST_F(MainMenuTest, AShortcutRunsItsItemOnlyWhileTheFormIsActive) {
    ShowForm();
    ::SetForegroundWindow(form->Handle());
    ::SetActiveWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return form->Active(); }));
    ::PostMessageW(form->Handle(), WM_KEYDOWN, VK_F5, 0);
    ::PostMessageW(form->Handle(), WM_KEYDOWN, VK_F6, 0);
    Pump(50);
    EXPECT_EQ(clicks.open, 1);
    EXPECT_EQ(clicks.refresh, 1);
    // A disabled item's shortcut does nothing.
    EXPECT_FALSE(frame->IsMenuShortCut(gui::TMessage{form->Handle(), WM_KEYDOWN, 'Q', 0, 0}));

    gui::TForm* other = gui::Create<gui::TForm>(app.get());
    other->SetBounds(500, 300, 150, 100);
    other->Show();
    ::SetForegroundWindow(other->Handle());
    ::SetActiveWindow(other->Handle());
    ASSERT_TRUE(PumpUntil([&] { return !form->Active(); }));
    ::PostMessageW(form->Handle(), WM_KEYDOWN, VK_F5, 0);
    Pump(50);
    EXPECT_EQ(clicks.open, 1);
    EXPECT_FALSE(frame->IsMenuShortCut(gui::TMessage{form->Handle(), WM_KEYDOWN, VK_F6, 0, 0}));
    EXPECT_EQ(clicks.refresh, 1);
}

// --- real drop-downs ----------------------------------------------------------------------------

// Counts what the open drop-down asks of the handlers, and closes it from its loop.
struct DropDownWatch {
    static inline int draws = 0;
    static inline int ticks = 0;
    static inline RECT menuRect{};
    static inline HWND form = nullptr;
    static inline gui::TBitmap* shot = nullptr;
    static inline int settled = 0;
    static void CALLBACK Close(HWND, UINT, UINT_PTR, DWORD) {
        if (draws == 0 && ++ticks <= 25)
            return;
        // A picture waits a little longer: the screen shows the drop-down only once the
        // display has caught up with its drawing.
        if (shot && draws > 0 && ++settled < 8)
            return;
        if (const HWND m = ::FindWindowW(L"#32768", nullptr))
            ::GetWindowRect(m, &menuRect);
        if (shot && form)
            Capture();
        ::EndMenu();
    }
    // The screen round the form and its open drop-down.
    static void Capture() {
        RECT f{};
        ::GetWindowRect(form, &f);
        RECT all{};
        ::UnionRect(&all, &f, &menuRect);
        InflateRect(&all, 12, 12);
        const int w = all.right - all.left, h = all.bottom - all.top;
        shot->SetPixelFormat(gui::TPixelFormat::pf24bit);
        MakeFilled(*shot, w, h, 0x00F0F0F0);
        const gui::WindowDC screen = gui::WindowDC::Client(nullptr);
        ::BitBlt(shot->Canvas().Handle(), 0, 0, w, h, screen.get(), all.left, all.top, SRCCOPY);
    }
};

class DropDowns : public MainMenuTest {
protected:
    void SetUp() override {
        MainMenuTest::SetUp();
        // Count the drawing of every drop-down item through the menu's handlers.
        for (gui::TMenuItem* parent : {file, view})
            for (int i = 0; i < parent->Count(); ++i) {
                gui::TMenuItem* item = parent->Items(i);
                const gui::TMenuDrawItemEvent draw = item->OnDrawItem();
                item->SetOnDrawItem(
                    [draw](gui::TObject* s, gui::TCanvas& c, const TRect& r, bool sel) {
                        ++DropDownWatch::draws;
                        if (draw)
                            draw(s, c, r, sel);
                    });
            }
    }
    int OpenFile() {
        DropDownWatch::draws = 0;
        DropDownWatch::ticks = 0;
        DropDownWatch::settled = 0;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &DropDownWatch::Close);
        Bar().Buttons(0)->Click();
        ::KillTimer(nullptr, timer);
        app->ProcessMessages();
        return DropDownWatch::draws;
    }
};

TEST_F(DropDowns, OpeningAButtonsDropDownManyTimesDrawsItsItemsAndLeaksNoHandles) {
    ShowForm();
    int errors = 0;
    app->SetOnException([&](gui::TObject*, const std::exception&) { ++errors; });
    ASSERT_GT(OpenFile(), 0) << "the drop-down was never drawn";
    // Under the first button.
    const TRect b = Bar().Buttons(0)->BoundsRect();
    POINT below{b.Left, b.Bottom};
    ::ClientToScreen(Bar().Handle(), &below);
    EXPECT_EQ(DropDownWatch::menuRect.left, below.x);
    EXPECT_GE(DropDownWatch::menuRect.top, below.y - 1);

    const gui::testing::LiveHandles before;
    int drawn = 0;
    constexpr int kOpenings = 100;
    for (int i = 0; i < kOpenings; ++i)
        drawn += OpenFile() > 0;
    const gui::testing::LiveHandles after;
    EXPECT_EQ(drawn, kOpenings);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    std::printf(
        "[ MEASURED ] %d drop-downs drawn; GDI objects %ld -> %ld, USER objects %ld -> %ld\n",
        drawn, before.gdi, after.gdi, before.user, after.user);
}

// A menu bar's captions stand alone: its buttons are plain buttons, without the drop-down
// arrow of the tool bar's whole-drop-down style, and pressing the mouse on one still opens
// its drop-down under it.
TEST_F(DropDowns, TheBarsButtonsShowNoDropDownArrowAndOpenOnAPress) {
    ShowForm();
    ASSERT_EQ(Bar().ButtonCount(), 2);
    for (int i = 0; i < Bar().ButtonCount(); ++i) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_STYLE;
        ASSERT_GE(::SendMessageW(Bar().Handle(), TB_GETBUTTONINFOW,
                                 static_cast<WPARAM>(Bar().Buttons(i)->Command()),
                                 reinterpret_cast<LPARAM>(&info)),
                  0);
        EXPECT_EQ(info.fsStyle & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN), 0) << "button " << i;
    }
    DropDownWatch::draws = 0;
    DropDownWatch::ticks = 0;
    DropDownWatch::settled = 0;
    const TRect b = Bar().Buttons(1)->BoundsRect();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &DropDownWatch::Close);
    ::SendMessageW(Bar().Handle(), WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(b.Left + b.Width() / 2, b.Top + b.Height() / 2));
    ::KillTimer(nullptr, timer);
    app->ProcessMessages();
    EXPECT_GT(DropDownWatch::draws, 0) << "pressing the View button opened nothing";
    POINT below{b.Left, b.Bottom};
    ::ClientToScreen(Bar().Handle(), &below);
    EXPECT_EQ(DropDownWatch::menuRect.left, below.x);
}

TEST_F(MainMenuTest, AttachingRestylingAndRepaintingTheBarManyTimesLeaksNothing) {
    ShowForm();
    auto round = [&](int i) {
        frame->SetMenu(i % 2 ? nullptr : menu);
        frame->SetMenu(menu);
        frame->SetUIStyle(i % 3 == 0 ? S::MacOS : S::DeepBlue);
        menu->SetUseSystemFont(i % 4 != 0);
        ::SendMessageW(Bar().Handle(), TB_SETHOTITEM, static_cast<WPARAM>(i % 2), 0);
        ::RedrawWindow(Bar().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    for (int i = 0; i < 10; ++i)
        round(i);
    const gui::testing::LiveHandles before;
    for (int i = 0; i < 300; ++i)
        round(i);
    const gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    std::printf("[ MEASURED ] 300 rounds of attach, restyle, repaint: GDI objects %ld -> %ld, "
                "USER objects %ld -> %ld\n",
                before.gdi, after.gdi, before.user, after.user);
}

// --- the documentation pictures -----------------------------------------------------------------

// The sample form with its File drop-down open, in MacOS and in DeepBlue. Written as BMPs
// into the folder NESTORA_MAIN_MENU_PICTURES names (scripts/docs-main-menu makes PNGs).
TEST_F(DropDowns, TheSampleFormInBothLooks) {
    const struct {
        S style;
        const char* file;
    } looks[] = {{S::MacOS, "main-menu-macos.bmp"}, {S::DeepBlue, "main-menu-deepblue.bmp"}};
    for (const auto& look : looks) {
        frame->SetUIStyle(look.style);
        ShowForm();
        ::RedrawWindow(form->Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(60);
        gui::TBitmap shot;
        DropDownWatch::shot = &shot;
        DropDownWatch::form = form->Handle();
        const int draws = OpenFile();
        DropDownWatch::shot = nullptr;
        DropDownWatch::form = nullptr;
        EXPECT_GT(draws, 0);
        ASSERT_GT(shot.Width(), 0);
        if (const char* dir = std::getenv("NESTORA_MAIN_MENU_PICTURES")) {
            const std::vector<std::uint8_t> bytes = shot.SaveToMemory();
            std::ofstream out(std::string(dir) + "\\" + look.file, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            EXPECT_TRUE(out.good()) << look.file;
        }
    }
}

} // namespace
} // namespace nestora::skin
