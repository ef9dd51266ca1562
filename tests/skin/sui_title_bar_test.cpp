// The skinned title bar under Wine: its buttons' default pictures and refusals, the
// sections it builds from a style, where the program's bar puts its buttons and caption
// (checked on the pixels it paints), the corner outline, the mouse (hot button, clicks on
// release, dragging, double clicks) and its system menu.
#include "tests/gui/win/app_test_support.h"
#include "tests/gui/win/graphics_test_support.h"
#include "tests/support/win/menu_probe.h"

#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/menu.h"
#include "skin/sui_form.h"
#include "skin/sui_style_win.h"
#include "skin/sui_title_bar.h"
#include "skin/sui_title_bar_menu.h"

#include <windowsx.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nestora::skin {
namespace {

using gui::testing::AppTest;
using nestora::testing::OpenMenuProbe;

// A pixel read straight from a 32-bit DIB's bytes, not through the code under test.
gui::TColor PixelOf(const gui::TBitmap& b, int x, int y) {
    const std::uint8_t* p =
        b.ScanLine(y) + x * (b.PixelFormat() == gui::TPixelFormat::pf32bit ? 4 : 3);
    return gui::RGBColor(p[2], p[1], p[0]);
}

// The picture a title-bar button shows now, in 32 bits for comparing with a strip cell.
void GlyphShown(TsuiTitleBarButton& button, gui::TBitmap& out) {
    out.Assign(*button.PicNormal().Graphic());
    out.SetPixelFormat(gui::TPixelFormat::pf32bit);
}

// Cell `cell` of a style's title-bar button strip, as the resources hold it.
void StripCell(TsuiUIStyle style, int cell, gui::TBitmap& out) {
    gui::TBitmap strip;
    GetStyleBitmap(style, StyleElement::TitleBarButtonImage, &strip);
    CutStateImage(strip, out, kTitleButtonCells, cell);
    out.SetPixelFormat(gui::TPixelFormat::pf32bit);
}

// How many pixels of picture, placed at (x, y) in painted, differ from it.
int Mismatches(const gui::TBitmap& painted, const gui::TBitmap& picture, int x, int y) {
    int n = 0;
    for (int py = 0; py < picture.Height(); ++py)
        for (int px = 0; px < picture.Width(); ++px)
            if (PixelOf(painted, x + px, y + py) != PixelOf(picture, px, py))
                ++n;
    return n;
}

class SkinnedTitleBarTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = gui::Create<gui::TForm>(app.get());
        form->SetBorderStyle(gui::TFormBorderStyle::bsSingle);
        form->SetBounds(120, 90, 200, 150);
        frame = gui::Create<TsuiForm>(form);
        bar = &frame->TitleBar();
    }

    // The program's bar: MacOS, a minimise and a help button, 168 pixels wide.
    void MakeProgramsBar() {
        frame->SetUIStyle(TsuiUIStyle::MacOS);
        frame->SetFrameWidth(168);
        frame->SetFrameHeight(133);
        TsuiTitleBarButtons& buttons = bar->Buttons();
        buttons.Clear();
        for (TsuiTitleBarBtnType type :
             {TsuiTitleBarBtnType::suiMin, TsuiTitleBarBtnType::suiHelp}) {
            TsuiTitleBarButton* b = buttons.Add();
            b->SetUIStyle(TsuiUIStyle::MacOS);
            b->SetButtonType(type);
        }
    }

    // The bar as it paints, into a memory bitmap of its size.
    void PaintBar(gui::TBitmap& out) {
        out.SetPixelFormat(gui::TPixelFormat::pf32bit);
        out.SetSize(bar->Width(), bar->Height());
        bar->DrawTo(out.Canvas());
    }

    void ShowForm() {
        form->Show();
        Pump(30);
    }

    // A mouse message to the bar at a client point, with the cursor seam there too.
    void Mouse(UINT msg, int x, int y) {
        cursor = gui::TPoint{x, y};
        POINT screen{x, y};
        ::ClientToScreen(bar->Handle(), &screen);
        cursorScreen = gui::TPoint{screen.x, screen.y};
        const WPARAM keys = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) ? MK_LBUTTON : 0;
        ::SendMessageW(bar->Handle(), msg, keys, MAKELPARAM(x, y));
    }

    void UseCursorSeam() {
        bar->SetCursorSource([this]() -> std::optional<gui::TPoint> { return cursorScreen; });
    }

    gui::TForm* form = nullptr;
    TsuiForm* frame = nullptr;
    TsuiTitleBar* bar = nullptr;
    gui::TPoint cursor;
    std::optional<gui::TPoint> cursorScreen;
};

// --- buttons and sections ----------------------------------------------------------------------

TEST_F(SkinnedTitleBarTest, ANewBarHasTheFourDefaultButtonsAndTheDeepBlueSections) {
    gui::TForm* other = gui::Create<gui::TForm>(app.get());
    TsuiTitleBar* fresh = gui::Create<TsuiTitleBar>(other);
    ASSERT_EQ(fresh->Buttons().Count(), 4);
    EXPECT_EQ(fresh->Buttons()[0]->ButtonType(), TsuiTitleBarBtnType::suiControlBox);
    EXPECT_EQ(fresh->Buttons()[1]->ButtonType(), TsuiTitleBarBtnType::suiClose);
    EXPECT_EQ(fresh->Buttons()[2]->ButtonType(), TsuiTitleBarBtnType::suiMax);
    EXPECT_EQ(fresh->Buttons()[3]->ButtonType(), TsuiTitleBarBtnType::suiMin);
    EXPECT_EQ(fresh->UIStyle(), TsuiUIStyle::DeepBlue);
    ASSERT_EQ(fresh->Sections().Count(), 3);
    EXPECT_EQ(fresh->Sections()[0]->Width(), 97);
    EXPECT_EQ(fresh->Sections()[1]->Align(), TsuiTitleBarAlign::suiRight);
    EXPECT_EQ(fresh->Sections()[2]->Align(), TsuiTitleBarAlign::suiClient);
    EXPECT_TRUE(fresh->Sections()[2]->Stretch());
    EXPECT_EQ(fresh->Height(), 32);
    EXPECT_EQ(fresh->Font().Color(), gui::clWhite);
    EXPECT_EQ(fresh->Font().Name(), L"Tahoma");
    EXPECT_EQ(fresh->Buttons()[0]->Top(), 2);
}

TEST_F(SkinnedTitleBarTest, ANewButtonIsAVisibleCustomButtonWithoutPictures) {
    TsuiTitleBarButton* b = bar->Buttons().Add();
    EXPECT_EQ(b->ButtonType(), TsuiTitleBarBtnType::suiCustom);
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(b->Top(), 2);
    EXPECT_TRUE(b->PicNormal().Empty());
    EXPECT_TRUE(b->PicMouseDown().Empty());
}

TEST_F(SkinnedTitleBarTest, AMinimiseButtonTakesCells13To15AndTheStylesTop) {
    TsuiTitleBarButton* b = bar->Buttons().Add();
    b->SetUIStyle(TsuiUIStyle::MacOS);
    b->SetButtonType(TsuiTitleBarBtnType::suiMin);
    EXPECT_EQ(b->Top(), 4);
    EXPECT_FALSE(b->Transparent());
    const gui::TPicture* pictures[] = {&b->PicNormal(), &b->PicMouseOn(), &b->PicMouseDown()};
    for (int i = 0; i < 3; ++i) {
        gui::TBitmap expected;
        StripCell(TsuiUIStyle::MacOS, 13 + i, expected);
        gui::TBitmap got;
        got.Assign(*pictures[i]->Graphic());
        got.SetPixelFormat(gui::TPixelFormat::pf32bit);
        ASSERT_EQ(got.Width(), 17);
        ASSERT_EQ(got.Height(), 17);
        EXPECT_EQ(Mismatches(got, expected, 0, 0), 0) << "state " << i;
    }
    // Protein buttons are transparent (their strip has a key colour).
    b->SetUIStyle(TsuiUIStyle::Protein);
    EXPECT_TRUE(b->Transparent());
    EXPECT_EQ(b->Top(), 2);
}

TEST_F(SkinnedTitleBarTest, MaximisingTurnsTheMaximiseGlyphIntoTheRestoreGlyphAndBack) {
    ShowForm();
    TsuiTitleBarButton* max = bar->Buttons()[2];
    ASSERT_EQ(max->ButtonType(), TsuiTitleBarBtnType::suiMax);
    gui::TBitmap maximise, restore, shown;
    StripCell(TsuiUIStyle::DeepBlue, 7, maximise);
    StripCell(TsuiUIStyle::DeepBlue, 10, restore);

    form->SetWindowState(gui::TWindowState::wsMaximized);
    Pump(30);
    GlyphShown(*max, shown);
    EXPECT_EQ(Mismatches(shown, restore, 0, 0), 0);

    form->SetWindowState(gui::TWindowState::wsNormal);
    Pump(30);
    GlyphShown(*max, shown);
    EXPECT_EQ(Mismatches(shown, maximise, 0, 0), 0);
}

// Win+Up, Win+Down and the task bar maximise and restore the window directly: the form's
// WindowState follows only after the size message that refreshes the glyph, so the glyph
// must follow the window's real state.
TEST_F(SkinnedTitleBarTest, AMaximiseOrRestoreTheSystemStartsShowsTheRightGlyph) {
    ShowForm();
    TsuiTitleBarButton* max = bar->Buttons()[2];
    ASSERT_EQ(max->ButtonType(), TsuiTitleBarBtnType::suiMax);
    gui::TBitmap maximise, restore, shown;
    StripCell(TsuiUIStyle::DeepBlue, 7, maximise);
    StripCell(TsuiUIStyle::DeepBlue, 10, restore);

    ::ShowWindow(form->Handle(), SW_MAXIMIZE);
    Pump(30);
    ASSERT_TRUE(::IsZoomed(form->Handle()));
    GlyphShown(*max, shown);
    EXPECT_EQ(Mismatches(shown, restore, 0, 0), 0);

    ::ShowWindow(form->Handle(), SW_RESTORE);
    Pump(30);
    ASSERT_FALSE(::IsZoomed(form->Handle()));
    GlyphShown(*max, shown);
    EXPECT_EQ(Mismatches(shown, maximise, 0, 0), 0);
}

// The control box's icon is the application's (a program may change it), not the module's
// MAINICON: an application icon that is red on its left half shows red there.
TEST_F(SkinnedTitleBarTest, TheAppIconIsTheApplicationsIcon) {
    app->Icon().SetHandle(gui::testing::HalfRedIcon());
    bar->SetDrawAppIcon(true);
    bar->SetCursorSource([] { return std::optional<gui::TPoint>(); });
    gui::TBitmap painted;
    PaintBar(painted);
    const ButtonsLayout layout = bar->Layout();
    ASSERT_TRUE(layout.appIconAt.has_value());
    const int x = layout.appIconAt->x, y = layout.appIconAt->y;
    EXPECT_EQ(PixelOf(painted, x + 2, y + 8), gui::clRed);
    EXPECT_EQ(PixelOf(painted, x + 5, y + 2), gui::clRed);
    EXPECT_NE(PixelOf(painted, x + 13, y + 8), gui::clRed) << "the icon's transparent half";
}

TEST_F(SkinnedTitleBarTest, ASecondControlBoxAndASecondClientSectionAreRefused) {
    TsuiTitleBarButton* b = bar->Buttons().Add();
    b->SetButtonType(TsuiTitleBarBtnType::suiControlBox);
    EXPECT_EQ(b->ButtonType(), TsuiTitleBarBtnType::suiCustom);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              L"Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].flags & MB_TYPEMASK, static_cast<unsigned>(MB_OK));

    TsuiTitleBarSection* s = bar->Sections().Add();
    s->SetAlign(TsuiTitleBarAlign::suiClient);
    EXPECT_EQ(s->Align(), TsuiTitleBarAlign::suiLeft);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"Sorry, only one section's Align property can be \"suiClient\"");

    // Once the first client section is gone, the same setting is accepted.
    bar->Sections().Delete(2);
    s->SetAlign(TsuiTitleBarAlign::suiClient);
    EXPECT_EQ(s->Align(), TsuiTitleBarAlign::suiClient);
    EXPECT_TRUE(s->Stretch());
    s->SetStretch(false);
    EXPECT_TRUE(s->Stretch()) << "a client section always stretches";
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(SkinnedTitleBarTest, CopiedButtonsKeepTheSourcesPicturesAndTheStylesTop) {
    TsuiTitleBarButton* source = bar->Buttons().Add();
    source->SetUIStyle(TsuiUIStyle::MacOS);
    source->SetButtonType(TsuiTitleBarBtnType::suiHelp);
    source->SetTop(11);
    source->PicNormal().LoadFromResourceRef(L"WINXP_TITLEBTN[1/18]");

    gui::TForm* other = gui::Create<gui::TForm>(app.get());
    TsuiTitleBar* second = gui::Create<TsuiTitleBar>(other);
    TsuiTitleBarButton* copy = second->Buttons().Add();
    copy->Assign(*source);
    EXPECT_EQ(copy->ButtonType(), TsuiTitleBarBtnType::suiHelp);
    EXPECT_EQ(copy->Top(), 4) << "ButtonType and UIStyle apply the style's Top";
    EXPECT_EQ(copy->PicNormal().Width(), 21) << "the source's picture wins";

    TsuiTitleBarButton* custom = bar->Buttons().Add();
    custom->SetTop(9);
    TsuiTitleBarButton* customCopy = second->Buttons().Add();
    customCopy->Assign(*custom);
    EXPECT_EQ(customCopy->Top(), 9);
}

TEST_F(SkinnedTitleBarTest, AutoSizeTakesTheFirstSectionsHeightWhateverItsValue) {
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(bar->Height(), 33);
    bar->SetHeight(50);
    bar->SetAutoSize(false);
    EXPECT_EQ(bar->Height(), 33);
    bar->Sections().Clear();
    bar->SetAutoSize(true);
    EXPECT_FALSE(bar->AutoSize()) << "no sections, no auto size";
}

// --- painting -------------------------------------------------------------------------------

TEST_F(SkinnedTitleBarTest, TheProgramsBarPaintsItsButtonsAt149And131AndItsCaptionAt3) {
    MakeProgramsBar();
    ASSERT_EQ(bar->Width(), 168);
    ASSERT_EQ(bar->Height(), 23);
    const ButtonsLayout layout = bar->Layout();
    EXPECT_EQ(layout.captionLeft, 3);

    gui::TBitmap painted;
    PaintBar(painted);
    gui::TBitmap min, help;
    StripCell(TsuiUIStyle::MacOS, 13, min);
    StripCell(TsuiUIStyle::MacOS, 4, help);
    EXPECT_EQ(Mismatches(painted, min, 149, 4), 0) << "the first button (minimise) at x 149";
    EXPECT_EQ(Mismatches(painted, help, 131, 4), 0) << "the second button (help) at x 131";
    EXPECT_GT(Mismatches(painted, min, 148, 4), 0) << "and not one pixel off";

    // The caption: a red "I" starts at x 3, nothing of it left of that.
    bar->SetCaption(L"I");
    bar->Font().SetColor(gui::clRed);
    PaintBar(painted);
    auto reddish = [&](int x, int y) {
        const gui::TColor c = PixelOf(painted, x, y);
        return gui::RedOf(c) > 160 && gui::GreenOf(c) < 90 && gui::BlueOf(c) < 90;
    };
    int leftmost = 1000;
    for (int y = 0; y < painted.Height(); ++y)
        for (int x = 0; x < 60; ++x)
            if (reddish(x, y))
                leftmost = std::min(leftmost, x);
    EXPECT_GE(leftmost, 3);
    EXPECT_LE(leftmost, 5) << "the glyph's own left bearing at most";
    EXPECT_EQ(bar->DrawnCaption(), L"I");
}

TEST_F(SkinnedTitleBarTest, ACaptionThatDoesNotFitEndsInAnEllipsis) {
    MakeProgramsBar();
    const std::wstring longCaption = L" =Nestora= makes new folders at the press of a key";
    bar->SetCaption(longCaption);
    gui::TBitmap painted;
    PaintBar(painted);
    const std::wstring drawn = bar->DrawnCaption();
    ASSERT_GE(drawn.size(), 4u);
    EXPECT_EQ(drawn.substr(drawn.size() - 3), L"...");
    EXPECT_EQ(longCaption.compare(0, drawn.size() - 3, drawn, 0, drawn.size() - 3), 0);
    const ButtonsLayout layout = bar->Layout();
    EXPECT_LE(painted.Canvas().TextWidth(drawn), layout.captionRight - layout.captionLeft);

    bar->SetCaption(L" =Nestora=");
    PaintBar(painted);
    EXPECT_EQ(bar->DrawnCaption(), L" =Nestora=");
}

TEST_F(SkinnedTitleBarTest, WhenNotEvenTheEllipsisFitsNoCaptionIsDrawn) {
    MakeProgramsBar();
    // Nine buttons leave 2 pixels between the left offset and the leftmost button.
    for (int i = 0; i < 7; ++i) {
        TsuiTitleBarButton* b = bar->Buttons().Add();
        b->SetUIStyle(TsuiUIStyle::MacOS);
        b->SetButtonType(TsuiTitleBarBtnType::suiHelp);
    }
    const ButtonsLayout layout = bar->Layout();
    ASSERT_EQ(layout.captionRight - layout.captionLeft, 2);
    bar->SetCaption(L"Settings");
    gui::TBitmap painted;
    PaintBar(painted);
    EXPECT_EQ(bar->DrawnCaption(), L"");
}

TEST_F(SkinnedTitleBarTest, AnInactiveFormsCaptionIsDrawnInTheInactiveCaptionColour) {
    MakeProgramsBar();
    bar->SetCaption(L"IIII");
    bar->SetFormActive(false);
    gui::TBitmap painted;
    PaintBar(painted);
    const gui::TColor inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    const gui::TColor expected =
        gui::RGBColor(GetRValue(inactive), GetGValue(inactive), GetBValue(inactive));
    int found = 0;
    for (int y = 0; y < painted.Height(); ++y)
        for (int x = 3; x < 40; ++x)
            if (PixelOf(painted, x, y) == expected)
                ++found;
    EXPECT_GT(found, 0);
}

TEST_F(SkinnedTitleBarTest, WinXpDrawsNoCornerOutlineOtherStylesDo) {
    auto paintWith = [&](int radius, gui::TBitmap& out) {
        bar->SetRoundCorner(radius);
        PaintBar(out);
    };
    auto differ = [](const gui::TBitmap& a, const gui::TBitmap& b) {
        return Mismatches(a, b, 0, 0);
    };
    frame->SetUIStyle(TsuiUIStyle::WinXP);
    gui::TBitmap plain, rounded;
    paintWith(0, plain);
    paintWith(13, rounded);
    EXPECT_EQ(differ(rounded, plain), 0);

    frame->SetUIStyle(TsuiUIStyle::DeepBlue);
    paintWith(0, plain);
    paintWith(13, rounded);
    EXPECT_GT(differ(rounded, plain), 0);
    EXPECT_EQ(PixelOf(rounded, bar->Width() / 2, 0), gui::TColor{0}) << "the top edge in black";
}

// --- mouse ----------------------------------------------------------------------------------

class SkinnedTitleBarMouseTest : public SkinnedTitleBarTest {
protected:
    void SetUp() override {
        SkinnedTitleBarTest::SetUp();
        MakeProgramsBar();
        // Two help buttons: their event tells which one was clicked.
        bar->Buttons()[0]->SetButtonType(TsuiTitleBarBtnType::suiHelp);
        bar->SetOnHelpBtnClick([this](gui::TObject* sender, int index) {
            EXPECT_EQ(sender, bar);
            clicked.push_back(index);
        });
        ShowForm();
        UseCursorSeam();
        // The form's procedure in front of the frame's: records the drag request instead of
        // running the system's move loop.
        const gui::TWndMethod saved = form->WindowProc();
        form->SetWindowProc([this, saved](gui::TMessage& m) {
            if (m.Msg == WM_NCLBUTTONDOWN) {
                dragRequests.push_back(m.WParam);
                return;
            }
            saved(m);
        });
    }
    std::vector<int> clicked;
    std::vector<WPARAM> dragRequests;
};

TEST_F(SkinnedTitleBarMouseTest, TheButtonUnderTheMouseIsHotAndAClickRunsOnRelease) {
    Mouse(WM_MOUSEMOVE, 155, 10);
    EXPECT_EQ(bar->HotButtonIndex(), 0);
    Mouse(WM_LBUTTONDOWN, 155, 10);
    EXPECT_TRUE(bar->Pressed());
    EXPECT_TRUE(clicked.empty()) << "nothing happens on press";
    Mouse(WM_LBUTTONUP, 155, 10);
    EXPECT_EQ(clicked, std::vector<int>{0});
    EXPECT_FALSE(bar->Pressed());
    EXPECT_TRUE(dragRequests.empty());
}

TEST_F(SkinnedTitleBarMouseTest, PressingOnOneButtonAndReleasingOnAnotherClicksTheOther) {
    Mouse(WM_MOUSEMOVE, 155, 10);
    Mouse(WM_LBUTTONDOWN, 155, 10);
    Mouse(WM_MOUSEMOVE, 135, 10);
    EXPECT_EQ(bar->HotButtonIndex(), 1);
    Mouse(WM_LBUTTONUP, 135, 10);
    EXPECT_EQ(clicked, std::vector<int>{1});
}

TEST_F(SkinnedTitleBarMouseTest, ReleasingAwayFromEveryButtonClicksNothing) {
    Mouse(WM_MOUSEMOVE, 155, 10);
    Mouse(WM_LBUTTONDOWN, 155, 10);
    Mouse(WM_MOUSEMOVE, 80, 10);
    EXPECT_EQ(bar->HotButtonIndex(), -1);
    Mouse(WM_LBUTTONUP, 80, 10);
    EXPECT_TRUE(clicked.empty());
}

TEST_F(SkinnedTitleBarMouseTest, PressingBesideTheButtonsDragsTheFormByItsCaption) {
    Mouse(WM_MOUSEMOVE, 60, 10);
    Mouse(WM_LBUTTONDOWN, 60, 10);
    EXPECT_EQ(dragRequests, std::vector<WPARAM>{HTCAPTION});
    EXPECT_FALSE(bar->Pressed()) << "the move loop has ended";
}

TEST_F(SkinnedTitleBarMouseTest, ADoubleClickWithoutAMaximiseButtonDoesNothing) {
    const gui::TRect before =
        gui::BoundsRect(form->Left(), form->Top(), form->Width(), form->Height());
    Mouse(WM_MOUSEMOVE, 60, 10);
    Mouse(WM_LBUTTONDBLCLK, 60, 10);
    Mouse(WM_LBUTTONUP, 60, 10);
    Pump(20);
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsNormal);
    EXPECT_EQ(gui::BoundsRect(form->Left(), form->Top(), form->Width(), form->Height()), before);
    EXPECT_TRUE(clicked.empty());
    EXPECT_TRUE(form->Visible());
}

TEST_F(SkinnedTitleBarMouseTest, ADoubleClickBesideTheButtonsMaximisesThroughTheMaximiseButton) {
    TsuiTitleBarButton* max = bar->Buttons().Add();
    max->SetUIStyle(TsuiUIStyle::MacOS);
    max->SetButtonType(TsuiTitleBarBtnType::suiMax);
    max->SetVisible(false); // hidden buttons count for the double click too
    Mouse(WM_MOUSEMOVE, 60, 10);
    Mouse(WM_LBUTTONDBLCLK, 60, 10);
    Mouse(WM_LBUTTONUP, 60, 10);
    Pump(30);
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsMaximized);
    Mouse(WM_MOUSEMOVE, 60, 10);
    Mouse(WM_LBUTTONDBLCLK, 60, 10);
    Mouse(WM_LBUTTONUP, 60, 10);
    Pump(30);
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsNormal);
}

TEST_F(SkinnedTitleBarMouseTest, TheTopEdgeOfASizeableFormIsAResizeHandle) {
    // This form was designed with a single border: the bar's top edge is plain client area.
    POINT p{60, 2};
    ::ClientToScreen(bar->Handle(), &p);
    EXPECT_EQ(::SendMessageW(bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);

    gui::TForm* sizeable = gui::Create<gui::TForm>(app.get());
    sizeable->SetBorderStyle(gui::TFormBorderStyle::bsSizeable);
    sizeable->SetBounds(300, 200, 200, 150);
    auto* sizeableFrame = gui::Create<TsuiForm>(sizeable);
    sizeable->Show();
    Pump(20);
    TsuiTitleBar& top = sizeableFrame->TitleBar();
    auto hit = [&](int x, int y) {
        POINT s{x, y};
        ::ClientToScreen(top.Handle(), &s);
        return ::SendMessageW(top.Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
    };
    EXPECT_EQ(hit(2, 2), HTTOPLEFT);
    EXPECT_EQ(hit(80, 0), HTTOP);
    EXPECT_EQ(hit(top.Width() - 1, 3), HTTOPRIGHT);
    EXPECT_EQ(hit(80, 10), HTCLIENT);
}

// --- system menu ----------------------------------------------------------------------------

TEST(TitleBarMenuStrings, TheCaptionsComeFromTheStringTable) {
    wchar_t text[64];
    ASSERT_GT(::LoadStringW(::GetModuleHandleW(nullptr), 65248, text, 64), 0);
    EXPECT_STREQ(text, L"Mi&nimize");
    ASSERT_GT(::LoadStringW(::GetModuleHandleW(nullptr), 65249, text, 64), 0);
    EXPECT_STREQ(text, L"Ma&ximize/Restore");
    ASSERT_GT(::LoadStringW(::GetModuleHandleW(nullptr), 65250, text, 64), 0);
    EXPECT_STREQ(text, L"&Close");
}

TEST_F(SkinnedTitleBarTest, TheSystemMenuHasItsFourItemsInTheBarsStyle) {
    TsuiTitleBarPopupMenu* menu = bar->SystemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->TitleBar(), bar);
    ASSERT_EQ(menu->Items().Count(), 4);
    EXPECT_EQ(menu->Items()[0]->Caption(), L"Mi&nimize");
    EXPECT_EQ(menu->Items()[1]->Caption(), L"Ma&ximize/Restore");
    EXPECT_TRUE(menu->Items()[2]->IsLine());
    EXPECT_EQ(menu->Items()[3]->Caption(), L"&Close");
    EXPECT_EQ(menu->AutoHotkeys(), gui::TMenuAutoFlag::maManual);
    EXPECT_EQ(menu->Items()[0]->DisplayCaption(), L"Mi&nimize");
    frame->SetUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::MacOS);
}

TEST_F(SkinnedTitleBarTest, ABarWithMinimiseAndHelpOffersOnlyMinimize) {
    MakeProgramsBar();
    ShowForm();
    TsuiTitleBarPopupMenu* menu = bar->SystemMenu();
    OpenMenuProbe::Arm();
    bar->PopupSystemMenu();
    EXPECT_EQ(OpenMenuProbe::runs, 1) << "the menu was open and closed again";
    EXPECT_TRUE(menu->MinimizeItem().Enabled());
    EXPECT_FALSE(menu->MaximizeItem().Enabled());
    EXPECT_FALSE(menu->CloseItem().Enabled());
    // Opened just below the bar's left end.
    POINT below{0, bar->Height()};
    ::ClientToScreen(bar->Handle(), &below);
    EXPECT_EQ(OpenMenuProbe::seen.left, below.x);
    EXPECT_EQ(OpenMenuProbe::seen.top, below.y);

    bar->Buttons().Clear();
    menu->UpdateItemStates();
    EXPECT_FALSE(menu->MinimizeItem().Enabled());
    bar->Buttons().Add()->SetButtonType(TsuiTitleBarBtnType::suiClose);
    bar->Buttons()[0]->SetVisible(false);
    menu->UpdateItemStates();
    EXPECT_TRUE(menu->CloseItem().Enabled()) << "hidden buttons count";
}

TEST_F(SkinnedTitleBarTest, TheMenusMaximizeClicksEverySuiMaxButtonInOrder) {
    ShowForm();
    TsuiTitleBarButtons& buttons = bar->Buttons();
    buttons.Add()->SetButtonType(TsuiTitleBarBtnType::suiMax); // a second one
    TsuiTitleBarPopupMenu* menu = bar->SystemMenu();
    menu->UpdateItemStates();
    menu->MaximizeItem().Click();
    Pump(30);
    // Two clicks: maximised by the first, restored by the second.
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsNormal);
    buttons.Delete(buttons.Count() - 1);
    menu->MaximizeItem().Click();
    Pump(30);
    EXPECT_EQ(form->WindowState(), gui::TWindowState::wsMaximized);
}

TEST_F(SkinnedTitleBarTest, MinimisingAFormThatIsNotTheMainFormShowsItMinimised) {
    ShowForm();
    bar->SystemMenu()->MinimizeItem().Click();
    Pump(30);
    EXPECT_TRUE(::IsIconic(form->Handle()));
}

TEST_F(SkinnedTitleBarTest, TheMainFormIsMinimisedThroughTheMinimiseCommand) {
    auto* main = app->CreateForm<gui::TForm>();
    ASSERT_EQ(app->MainForm(), main);
    auto* mainFrame = gui::Create<TsuiForm>(main);
    main->Show();
    Pump(20);
    std::vector<WPARAM> commands;
    const gui::TWndMethod saved = main->WindowProc();
    main->SetWindowProc([&](gui::TMessage& m) {
        if (m.Msg == WM_SYSCOMMAND) {
            commands.push_back(m.WParam & 0xFFF0);
            return; // the application's minimising is not what is tested here
        }
        saved(m);
    });
    mainFrame->TitleBar().SystemMenu()->MinimizeItem().Click();
    main->SetWindowProc(saved);
    EXPECT_EQ(commands, std::vector<WPARAM>{SC_MINIMIZE});
}

TEST_F(SkinnedTitleBarTest, AControlBoxWithoutAMenuOfItsOwnOpensTheSystemMenu) {
    ShowForm();
    UseCursorSeam();
    ASSERT_EQ(bar->Buttons()[0]->ButtonType(), TsuiTitleBarBtnType::suiControlBox);
    OpenMenuProbe::Arm();
    Mouse(WM_MOUSEMOVE, 5, 8);
    ASSERT_EQ(bar->HotButtonIndex(), 0);
    Mouse(WM_LBUTTONDOWN, 5, 8);
    Mouse(WM_LBUTTONUP, 5, 8);
    EXPECT_EQ(OpenMenuProbe::runs, 1);
    EXPECT_TRUE(bar->SystemMenu()->CloseItem().Enabled());
}

} // namespace
} // namespace nestora::skin
