// TLabel: its own or its parent's colour, transparency over the parent, text placement by
// Alignment, Layout and WordWrap, and automatic size — read from the pixels the label
// paints into a DIB (WM_PRINTCLIENT), never by eye.
#include "app_test_support.h"

#include "gui/win/label.h"
#include "gui/win/panel.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;
using nestora::gui::testing::WindowPicture;

// Where the text's pixels are: every pixel that is not the background.
struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1, count = 0;
    std::vector<int> rows; // ink pixels per row
};

Ink FindInk(const WindowPicture& picture, TColor background) {
    Ink ink;
    ink.rows.assign(static_cast<std::size_t>(picture.height), 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.Pixel(x, y) != background) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
                ++ink.rows[static_cast<std::size_t>(y)];
            }
    return ink;
}

class LabelTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBounds(10, 10, 300, 200);
        form->SetColor(clLime);
        label = Create<TLabel>(form);
        label->SetParent(form);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 129, 40);
        label->Font().SetColor(clBlack);
        form->Show();
    }
    TForm* form = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelTest, ALabelIsAWindowOfItsOwn) {
    wchar_t name[32] = {};
    ::GetClassNameW(label->Handle(), name, 32);
    EXPECT_STREQ(name, L"TLabel");
    EXPECT_EQ(::GetParent(label->Handle()), form->Handle());
    EXPECT_FALSE(label->TabStop());
    int clicks = 0;
    label->SetOnClick([&](TObject*) { ++clicks; });
    ::SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(label->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(clicks, 1);
}

TEST_F(LabelTest, ItsOwnColourOrItsParentsFillsTheBackground) {
    constexpr TColor kOwn = 0x00BF9857; // the program's label colour
    label->SetColor(kOwn);
    const WindowPicture own(label->Handle());
    EXPECT_EQ(own.Pixel(0, 0), kOwn);
    EXPECT_EQ(own.Pixel(128, 39), kOwn);
    EXPECT_EQ(own.Count(kOwn), own.width * own.height); // no caption: all background

    label->SetParentColor(true);
    const WindowPicture parents(label->Handle());
    EXPECT_EQ(parents.Pixel(64, 20), clLime);
    form->SetColor(clAqua);
    EXPECT_EQ(WindowPicture(label->Handle()).Pixel(64, 20), clAqua);
}

TEST_F(LabelTest, ATransparentLabelShowsWhatIsBehindIt) {
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(150, 10, 120, 100);
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetColor(clRed);
    auto* over = Create<TLabel>(form);
    over->SetParent(panel);
    over->SetAutoSize(false);
    over->SetBounds(10, 10, 60, 30);
    over->SetColor(clBlue);
    over->SetTransparent(true);
    const WindowPicture picture(over->Handle());
    EXPECT_EQ(picture.Pixel(0, 0), clRed);
    EXPECT_EQ(picture.Pixel(59, 29), clRed);
    EXPECT_EQ(picture.Count(clBlue), 0);
}

TEST_F(LabelTest, CentredTextSitsInTheMiddleOfTheWidth) {
    label->SetColor(clWhite);
    label->SetCaption(L"HHHH");
    auto inkLeft = [&](TAlignment alignment) {
        label->SetAlignment(alignment);
        const Ink ink = FindInk(WindowPicture(label->Handle()), clWhite);
        EXPECT_GT(ink.count, 0);
        return ink.left;
    };
    // Compared with the text's own advance width (fonts differ between systems): the
    // right-aligned text starts that much before the right edge, the centred one halfway.
    const int left = inkLeft(TAlignment::taLeftJustify);
    const int right = inkLeft(TAlignment::taRightJustify);
    const int centre = inkLeft(TAlignment::taCenter);
    EXPECT_LE(left, 2);
    EXPECT_EQ(right - left, label->Width() - label->TextSize().Width);
    EXPECT_LE(std::abs((centre - left) * 2 - (right - left)), 1);
}

TEST_F(LabelTest, LayoutPlacesTheTextDownTheHeight) {
    label->SetColor(clWhite);
    label->SetCaption(L"H");
    label->SetLayout(TTextLayout::tlTop);
    const Ink top = FindInk(WindowPicture(label->Handle()), clWhite);
    label->SetLayout(TTextLayout::tlBottom);
    const Ink bottom = FindInk(WindowPicture(label->Handle()), clWhite);
    label->SetLayout(TTextLayout::tlCenter);
    const Ink centre = FindInk(WindowPicture(label->Handle()), clWhite);
    ASSERT_GT(top.count, 0);
    EXPECT_LT(top.bottom, centre.bottom);
    EXPECT_LT(centre.bottom, bottom.bottom);
    EXPECT_GE(bottom.bottom, label->Height() - 5);
    const int centreSpareTop = centre.top;
    const int centreSpareBottom = label->Height() - 1 - centre.bottom;
    EXPECT_LE(std::abs(centreSpareTop - centreSpareBottom), 4);
}

TEST_F(LabelTest, WordWrapBreaksLinesAtTheWidth) {
    label->SetColor(clWhite);
    label->SetBounds(10, 10, 60, 60);
    label->SetCaption(L"HHH HHH HHH");
    const Ink single = FindInk(WindowPicture(label->Handle()), clWhite);
    label->SetWordWrap(true);
    const Ink wrapped = FindInk(WindowPicture(label->Handle()), clWhite);
    // Without wrapping the text runs off the right edge on one line; wrapped, it takes
    // several lines: there are blank rows between bands of ink.
    EXPECT_GE(single.right, label->Width() - 3);
    int bands = 0;
    for (std::size_t y = 1; y < wrapped.rows.size(); ++y)
        if (wrapped.rows[y] > 0 && wrapped.rows[y - 1] == 0)
            ++bands;
    bands += wrapped.rows[0] > 0 ? 1 : 0;
    EXPECT_GE(bands, 2);
    EXPECT_GT(wrapped.bottom, single.bottom);
}

// A text padded with blanks to fall on its lines (the program's credits are made so): the
// blanks at a break belong to neither line, so each word sits centred on its own line and
// no line starts with the run that pushed it there.
TEST_F(LabelTest, BlanksAtALineBreakDoNotShiftTheNextLine) {
    label->SetColor(clWhite);
    label->SetBounds(10, 10, 120, 80);
    label->SetAlignment(TAlignment::taCenter);
    label->SetWordWrap(true);
    label->SetCaption(L"HH" + std::wstring(60, L' ') + L"HH" + std::wstring(60, L' ') + L"HH");
    const Ink ink = FindInk(WindowPicture(label->Handle()), clWhite);
    ASSERT_GT(ink.count, 0);
    // Three bands of ink, each as wide as "HH" and centred.
    std::vector<std::pair<int, int>> bands; // first and last row
    for (int y = 0; y < static_cast<int>(ink.rows.size()); ++y) {
        if (ink.rows[static_cast<std::size_t>(y)] == 0)
            continue;
        if (bands.empty() || bands.back().second != y - 1)
            bands.push_back({y, y});
        else
            bands.back().second = y;
    }
    ASSERT_EQ(bands.size(), 3u);
    const WindowPicture picture(label->Handle());
    for (const auto& [first, last] : bands) {
        int left = 1 << 30, right = -1;
        for (int y = first; y <= last; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (picture.Pixel(x, y) != clWhite) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        const int spareLeft = left;
        const int spareRight = label->Width() - 1 - right;
        EXPECT_LE(std::abs(spareLeft - spareRight), 3) << "band at row " << first;
    }
    // AutoSize agrees with the drawing: three lines high.
    const int lineHeight = label->TextSize().Height / 3;
    EXPECT_GT(lineHeight, 8);
    EXPECT_EQ(label->TextSize().Height, lineHeight * 3);
}

TEST_F(LabelTest, AutoSizeTakesTheSizeOfTheText) {
    label->SetCaption(L"Version 1.0   11.2004");
    label->SetAutoSize(true);
    const TSize text = label->TextSize();
    EXPECT_EQ(label->Width(), text.Width);
    EXPECT_EQ(label->Height(), text.Height);
    const int oneLine = label->Height();
    label->SetCaption(L"Version 1.0   11.2004 and much more text");
    EXPECT_GT(label->Width(), text.Width);
    // A right-aligned label grows to the left.
    label->SetAlignment(TAlignment::taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption(L"x");
    EXPECT_EQ(label->Left() + label->Width(), right);
    // Wrapped: the width stays, the height follows the lines.
    label->SetWordWrap(true);
    label->SetWidth(40);
    label->SetCaption(L"many words in a narrow label");
    EXPECT_EQ(label->Width(), 40);
    EXPECT_GT(label->Height(), oneLine);
}

} // namespace
