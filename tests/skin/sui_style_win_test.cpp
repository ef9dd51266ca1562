// The skin's shared Windows helpers against the program's own resources: bitmaps loaded
// by style through the framework's TBitmap (whole and cut into cells, pixel for pixel),
// the cases that must leave a destination alone, the region with rounded top corners on a
// real window, the order in which a form is placed, and the push of a style onto a frame's
// children.
#include "skin/sui_style_win.h"

#include "gui/core/class_builder.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/panel.h"
#include "skin/resolve_style.h"

#include "../gui/win/app_test_support.h"
#include "../gui/win/graphics_test_support.h"
#include "skin_art_expectations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nestora::skin {
namespace {

using gui::testing::MakeFilled;
using gui::testing::PixelOf;
using E = StyleElement;
using S = TsuiUIStyle;

// --- bitmaps ---------------------------------------------------------------------------

TEST(StyleBitmaps, EveryFramePictureLoadsThroughTheLoaderWithItsSize) {
    for (const auto& f : nestora::testing::kFrameArtSizes) {
        const struct {
            E element;
            int width, height;
        } expected[] = {
            {E::TitleBarButtonImage, 18 * f.cell, f.cell},
            {E::TitleBarLeftImage, f.left[0], f.left[1]},
            {E::TitleBarClientImage, f.client[0], f.client[1]},
            {E::TitleBarRightImage, f.right[0], f.right[1]},
        };
        for (const auto& e : expected) {
            gui::TBitmap bitmap;
            GetStyleBitmap(f.style, e.element, &bitmap);
            EXPECT_EQ(bitmap.Width(), e.width)
                << static_cast<int>(f.style) << "/" << static_cast<int>(e.element);
            EXPECT_EQ(bitmap.Height(), e.height)
                << static_cast<int>(f.style) << "/" << static_cast<int>(e.element);
        }
        // One cell of the button strip is square.
        gui::TBitmap cell;
        GetStyleBitmap(f.style, E::TitleBarButtonImage, &cell, 16, 18);
        EXPECT_EQ(cell.Width(), f.cell);
        EXPECT_EQ(cell.Height(), f.cell);
    }
}

TEST(StyleBitmaps, CellsAreCutPixelForPixelFromTheirPlaceInTheStrip) {
    gui::TBitmap strip;
    GetStyleBitmap(S::MacOS, E::TitleBarButtonImage, &strip);
    ASSERT_EQ(strip.Width(), 306);
    ASSERT_EQ(strip.Height(), 17);
    // Cell 18 of 18 is pixels 289 to 305, cell 1 pixels 0 to 16.
    for (const auto& [index, firstX] : {std::pair{18, 289}, std::pair{1, 0}, std::pair{7, 102}}) {
        gui::TBitmap cell;
        GetStyleBitmap(S::MacOS, E::TitleBarButtonImage, &cell, index, 18);
        ASSERT_EQ(cell.Width(), 17) << index;
        ASSERT_EQ(cell.Height(), 17) << index;
        int mismatches = 0;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x)
                mismatches += PixelOf(cell, x, y) != PixelOf(strip, firstX + x, y);
        EXPECT_EQ(mismatches, 0) << "cell " << index;
    }
    // The neighbouring cells differ somewhere, so the comparison above could fail.
    gui::TBitmap seventeen;
    GetStyleBitmap(S::MacOS, E::TitleBarButtonImage, &seventeen, 17, 18);
    int differing = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x)
            differing += PixelOf(seventeen, x, y) != PixelOf(strip, 289 + x, y);
    EXPECT_GT(differing, 0);
}

TEST(StyleBitmaps, NothingToLoadLeavesTheDestinationAlone) {
    auto untouched = [](gui::TBitmap& b) {
        return b.Width() == 3 && b.Height() == 2 && PixelOf(b, 0, 0) == gui::clRed &&
               PixelOf(b, 2, 1) == gui::clRed;
    };
    gui::TBitmap dest;
    MakeFilled(dest, 3, 2, gui::clRed);
    // No style row (theme files are read elsewhere), a junk style byte, elements that are
    // no bitmaps, elements outside the table.
    GetStyleBitmap(S::FromThemeFile, E::TitleBarButtonImage, &dest);
    EXPECT_TRUE(untouched(dest));
    GetStyleBitmap(static_cast<S>(9), E::TitleBarLeftImage, &dest, 1, 18);
    EXPECT_TRUE(untouched(dest));
    GetStyleBitmap(S::MacOS, E::FormBackgroundColor, &dest);
    EXPECT_TRUE(untouched(dest));
    GetStyleBitmap(S::MacOS, static_cast<E>(0), &dest);
    GetStyleBitmap(S::MacOS, static_cast<E>(43), &dest);
    EXPECT_TRUE(untouched(dest));
    // Cells that do not exist.
    for (const auto& [index, count] :
         {std::pair{0, 18}, std::pair{19, 18}, std::pair{1, -3}, std::pair{-1, 18}}) {
        GetStyleBitmap(S::MacOS, E::TitleBarButtonImage, &dest, index, count);
        EXPECT_TRUE(untouched(dest)) << index << " of " << count;
    }
    // No destination at all.
    EXPECT_NO_THROW(GetStyleBitmap(S::MacOS, E::TitleBarButtonImage, nullptr, 1, 18));
}

TEST(StyleBitmaps, CuttingIntoTheStripItselfAndStripsNarrowerThanTheirCells) {
    gui::TBitmap strip;
    MakeFilled(strip, 30, 4, gui::clBlue);
    strip.Canvas().Brush().SetColor(gui::clLime);
    strip.Canvas().FillRect(gui::MakeRect(20, 0, 30, 4));
    EXPECT_TRUE(CutStateImage(strip, strip, 3, 3));
    EXPECT_EQ(strip.Width(), 10);
    EXPECT_EQ(strip.Height(), 4);
    EXPECT_EQ(PixelOf(strip, 0, 0), gui::clLime);
    EXPECT_EQ(PixelOf(strip, 9, 3), gui::clLime);

    gui::TBitmap dest;
    MakeFilled(dest, 2, 2, gui::clRed);
    EXPECT_FALSE(CutStateImage(strip, dest, 0, 1)); // no division by zero
    EXPECT_FALSE(CutStateImage(strip, dest, 2, 3));
    EXPECT_EQ(dest.Width(), 2);
    EXPECT_EQ(PixelOf(dest, 1, 1), gui::clRed);
    // Twenty cells in ten pixels: each cell is 0 wide, which empties the destination
    // instead of reading beside the strip.
    EXPECT_TRUE(CutStateImage(strip, dest, 20, 20));
    EXPECT_TRUE(dest.Empty());
}

// --- region ----------------------------------------------------------------------------

bool Inside(HRGN region, int x, int y) {
    return ::PtInRegion(region, x, y) != FALSE;
}

TEST(RoundCornerRegion, TopCornersAreCutAndBottomCornersStaySquare) {
    const gui::UniqueRegion region = MakeRoundCornerRegion(gui::MakeRect(0, 0, 200, 100), 13);
    ASSERT_TRUE(region);
    EXPECT_FALSE(Inside(region.get(), 0, 0));
    EXPECT_FALSE(Inside(region.get(), 199, 0));
    EXPECT_FALSE(Inside(region.get(), 1, 1));
    EXPECT_FALSE(Inside(region.get(), 198, 1));
    EXPECT_TRUE(Inside(region.get(), 0, 99));
    EXPECT_TRUE(Inside(region.get(), 199, 99));
    // Just beside the cut corners the window is whole.
    EXPECT_TRUE(Inside(region.get(), 13, 0));
    EXPECT_TRUE(Inside(region.get(), 0, 13));
    EXPECT_TRUE(Inside(region.get(), 186, 0));
    EXPECT_TRUE(Inside(region.get(), 199, 13));
    EXPECT_TRUE(Inside(region.get(), 100, 50));
    // The bottom squares reach 2 x radius up, above where a rounded rectangle would curve.
    EXPECT_TRUE(Inside(region.get(), 0, 100 - 26));
    EXPECT_FALSE(Inside(region.get(), 0, 250));
}

TEST(RoundCornerRegion, NoRadiusOrANegativeOneIsThePlainRectangle) {
    for (int radius : {0, -13}) {
        const gui::UniqueRegion region =
            MakeRoundCornerRegion(gui::MakeRect(0, 0, 200, 100), radius);
        ASSERT_TRUE(region) << radius;
        for (const auto& [x, y] :
             {std::pair{0, 0}, std::pair{199, 0}, std::pair{0, 99}, std::pair{199, 99}})
            EXPECT_TRUE(Inside(region.get(), x, y)) << radius << ": " << x << "," << y;
        // Nothing outside the window: a negative radius must not grow the region.
        EXPECT_FALSE(Inside(region.get(), 0, 130)) << radius;
        EXPECT_FALSE(Inside(region.get(), -20, 50)) << radius;
        RECT box{};
        ::GetRgnBox(region.get(), &box);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.top, 0);
        EXPECT_LE(box.right, 201);
        EXPECT_LE(box.bottom, 101);
    }
}

class PublicFormTest : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = gui::Create<gui::TForm>(app.get());
        form->SetBorderStyle(gui::TFormBorderStyle::bsNone);
        form->SetBounds(40, 30, 200, 100);
    }
    gui::TForm* form = nullptr;
};

TEST_F(PublicFormTest, TheWindowGetsTheRegionAndDesignModeLeavesItAlone) {
    ASSERT_EQ(form->ClientWidth(), 200);
    ASSERT_EQ(form->ClientHeight(), 100);
    ApplyRoundCornerRegion(*form, 13);
    const gui::UniqueRegion got(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(form->Handle(), got.get()), ERROR);
    EXPECT_FALSE(Inside(got.get(), 0, 0));
    EXPECT_FALSE(Inside(got.get(), 199, 0));
    EXPECT_TRUE(Inside(got.get(), 0, 99));
    EXPECT_TRUE(Inside(got.get(), 199, 99));

    // Applying again replaces the region (the window frees the old one).
    ApplyRoundCornerRegion(*form, 0);
    ASSERT_NE(::GetWindowRgn(form->Handle(), got.get()), ERROR);
    EXPECT_TRUE(Inside(got.get(), 0, 0));

    gui::TForm* designed = gui::Create<gui::TForm>(app.get());
    designed->SetDesigning(true);
    designed->SetBorderStyle(gui::TFormBorderStyle::bsNone);
    designed->SetBounds(0, 0, 200, 100);
    ApplyRoundCornerRegion(*designed, 13);
    EXPECT_EQ(::GetWindowRgn(designed->Handle(), got.get()), ERROR); // no region at all
}

// Records the order in which its bounds change.
class TRecordingForm : public gui::TForm {
public:
    using gui::TForm::TForm;
    void SetBounds(int left, int top, int width, int height) override {
        calls.push_back({left, top, width, height});
        gui::TForm::SetBounds(left, top, width, height);
    }
    std::vector<gui::TRect> calls; // as (left, top, width, height)
};

TEST_F(PublicFormTest, FormsArePlacedLeftTopWidthHeightInThatOrder) {
    auto* recording = gui::Create<TRecordingForm>(app.get());
    recording->SetBounds(1, 2, 300, 200);
    recording->calls.clear();
    SetFormBounds(*recording, gui::MakeRect(50, 60, 250, 160));
    const std::vector<gui::TRect> expected{
        {50, 2, 300, 200}, {50, 60, 300, 200}, {50, 60, 200, 200}, {50, 60, 200, 100}};
    EXPECT_EQ(recording->calls, expected);
    // And onto the work area, which lies on the screen.
    const gui::TRect area = GetWorkArea();
    EXPECT_FALSE(area.IsEmpty());
    EXPECT_LE(area.Right,
              ::GetSystemMetrics(SM_CXVIRTUALSCREEN) + ::GetSystemMetrics(SM_XVIRTUALSCREEN));
    SetFormBounds(*recording, area);
    EXPECT_EQ(recording->BoundsRect(), area);
}

// --- pushing a style onto children -----------------------------------------------------

// A child that records which of its two properties were set, in order.
class TStyledChild : public gui::TWinControl {
public:
    using gui::TWinControl::TWinControl;
    static const gui::ClassInfo& StaticClassInfo() {
        static const gui::ClassInfo info =
            gui::ClassBuilder<TStyledChild>("TStyledChild", &gui::TWinControl::StaticClassInfo())
                .Component<gui::TComponent>("FileTheme", &TStyledChild::FileTheme,
                                            &TStyledChild::SetFileTheme)
                .Enum("UIStyle", kUIStyleInfo, &TStyledChild::UIStyle, &TStyledChild::SetUIStyle)
                .Build();
        return info;
    }
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    gui::TComponent* FileTheme() const { return theme; }
    void SetFileTheme(gui::TComponent* t) {
        theme = t;
        log.push_back(L"FileTheme");
    }
    S UIStyle() const { return style; }
    void SetUIStyle(S s) {
        style = s;
        log.push_back(L"UIStyle");
    }
    gui::TComponent* theme = nullptr;
    S style = S::DeepBlue;
    std::vector<std::wstring> log;
};

// Publishes only one of the two.
class TStyleOnlyChild : public gui::TWinControl {
public:
    using gui::TWinControl::TWinControl;
    static const gui::ClassInfo& StaticClassInfo() {
        static const gui::ClassInfo info =
            gui::ClassBuilder<TStyleOnlyChild>("TStyleOnlyChild",
                                               &gui::TWinControl::StaticClassInfo())
                .Enum("UIStyle", kUIStyleInfo, &TStyleOnlyChild::UIStyle,
                      &TStyleOnlyChild::SetUIStyle)
                .Build();
        return info;
    }
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    S UIStyle() const { return style; }
    void SetUIStyle(S s) { style = s; }
    S style = S::DeepBlue;
};

class TThemeOnlyChild : public gui::TWinControl {
public:
    using gui::TWinControl::TWinControl;
    static const gui::ClassInfo& StaticClassInfo() {
        static const gui::ClassInfo info =
            gui::ClassBuilder<TThemeOnlyChild>("TThemeOnlyChild",
                                               &gui::TWinControl::StaticClassInfo())
                .Component<gui::TComponent>("FileTheme", &TThemeOnlyChild::FileTheme,
                                            &TThemeOnlyChild::SetFileTheme)
                .Build();
        return info;
    }
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    gui::TComponent* FileTheme() const { return theme; }
    void SetFileTheme(gui::TComponent* t) { theme = t; }
    gui::TComponent* theme = nullptr;
};

TEST(ChildrenUIStyle, OnlyChildrenWithBothPropertiesGetThemeThenStyle) {
    auto frame = gui::MakeComponent<gui::TPanel>();
    auto theme = gui::MakeComponent<gui::TComponent>();
    auto* first = gui::Create<TStyledChild>(frame.get());
    auto* styleOnly = gui::Create<TStyleOnlyChild>(frame.get());
    auto* themeOnly = gui::Create<TThemeOnlyChild>(frame.get());
    auto* plain = gui::Create<gui::TPanel>(frame.get());
    auto* last = gui::Create<TStyledChild>(frame.get());
    for (gui::TControl* c :
         std::initializer_list<gui::TControl*>{first, styleOnly, themeOnly, plain, last})
        c->SetParent(frame.get());
    // Owned by the frame but placed elsewhere: not a child control of the frame.
    auto* elsewhere = gui::Create<TStyledChild>(frame.get());

    SetChildrenUIStyle(*frame, S::WinXP, theme.get());
    EXPECT_EQ(first->log, (std::vector<std::wstring>{L"FileTheme", L"UIStyle"}));
    EXPECT_EQ(first->theme, theme.get());
    EXPECT_EQ(first->style, S::WinXP);
    EXPECT_EQ(last->style, S::WinXP);
    EXPECT_EQ(last->theme, theme.get());
    EXPECT_EQ(styleOnly->style, S::DeepBlue);
    EXPECT_EQ(themeOnly->theme, nullptr);
    EXPECT_TRUE(elsewhere->log.empty());

    // No theme: the children's theme is cleared as the style is pushed.
    SetChildrenUIStyle(*frame, S::FromThemeFile, nullptr);
    EXPECT_EQ(first->theme, nullptr);
    EXPECT_EQ(first->style, S::FromThemeFile);
    EXPECT_EQ(first->log.size(), 4u);
}

} // namespace
} // namespace nestora::skin
