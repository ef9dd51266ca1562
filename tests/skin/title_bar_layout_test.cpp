// The title bar's arithmetic: section placement, button placement and the hot button,
// caption room and cutting, and the top resize edge. The painting code calls these same
// functions, so a wrong number here is a wrong pixel on the screen.
#include "skin/title_bar_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nestora::skin {
namespace {

using A = TsuiTitleBarAlign;
using T = TsuiTitleBarBtnType;

bool SameRect(const SkinRect& a, const SkinRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(actual, l, t, r, b)                                                            \
    EXPECT_TRUE(SameRect((actual), SkinRect{l, t, r, b}))                                          \
        << "got (" << (actual).left << ", " << (actual).top << ", " << (actual).right << ", "      \
        << (actual).bottom << ")"

// --- sections ------------------------------------------------------------------------------

TEST(TitleBarSections, MacOsSectionsOnTheProgramsBar) {
    const std::vector<SectionDesc> s{
        {A::suiLeft, 48, false}, {A::suiRight, 48, false}, {A::suiClient, 10, true}};
    const auto out = LayoutSections(s, 168, 23);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].index, 0);
    EXPECT_RECT(out[0].rect, 0, 0, 48, 23);
    EXPECT_FALSE(out[0].scaled);
    EXPECT_EQ(out[1].index, 1);
    EXPECT_RECT(out[1].rect, 120, 0, 168, 23);
    // The client picture is drawn last, stretched between the two.
    EXPECT_EQ(out[2].index, 2);
    EXPECT_RECT(out[2].rect, 48, 0, 120, 23);
    EXPECT_TRUE(out[2].scaled);
}

TEST(TitleBarSections, LeftSectionsStackRightwardsAndRightOnesLeftwards) {
    const std::vector<SectionDesc> s{{A::suiLeft, 10, false},
                                     {A::suiRight, 20, true},
                                     {A::suiLeft, 5, true},
                                     {A::suiRight, 7, false}};
    const auto out = LayoutSections(s, 100, 30);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_RECT(out[0].rect, 0, 0, 10, 30);
    EXPECT_RECT(out[1].rect, 80, 0, 100, 30);
    EXPECT_TRUE(out[1].scaled);
    EXPECT_RECT(out[2].rect, 10, 0, 15, 30);
    EXPECT_RECT(out[3].rect, 73, 0, 80, 30);
}

TEST(TitleBarSections, ARightSectionWithoutRoomIsSkippedAndMovesNothing) {
    // After 90 pixels of left sections, 11 remain (W - L = 100 - 89): a 12-pixel right
    // section is skipped, an 11-pixel one still fits (the test is >=).
    const std::vector<SectionDesc> s{{A::suiLeft, 90, false},
                                     {A::suiRight, 12, false},
                                     {A::suiRight, 11, false},
                                     {A::suiClient, 1, true}};
    const auto out = LayoutSections(s, 100, 20);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].index, 2);
    EXPECT_RECT(out[1].rect, 89, 0, 100, 20);
    // The client section gets what is left between 90 and 89: an empty rectangle.
    EXPECT_EQ(out[2].index, 3);
    EXPECT_RECT(out[2].rect, 90, 0, 89, 20);
}

TEST(TitleBarSections, NoSectionsAndClientOnly) {
    EXPECT_TRUE(LayoutSections({}, 100, 20).empty());
    const std::vector<SectionDesc> s{{A::suiClient, 10, true}};
    const auto out = LayoutSections(s, 100, 20);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_RECT(out[0].rect, 0, 0, 100, 20);
}

// --- buttons ---------------------------------------------------------------------------------

ButtonDesc Btn(int w, int top, bool visible = true, bool box = false) {
    return ButtonDesc{visible, box, w, w, top};
}

TEST(TitleBarButtons, TheProgramsBarPutsItsTwoButtonsAt149And131) {
    // MacOS: RightBtnXOffset -2, LeftBtnXOffset 3, two 17-pixel buttons at Top 4.
    const std::vector<ButtonDesc> b{Btn(17, 4), Btn(17, 4)};
    const auto out = LayoutButtons(b, {168, 3, -2, 0, false, std::nullopt});
    ASSERT_EQ(out.buttons.size(), 2u);
    EXPECT_RECT(out.buttons[0].rect, 149, 4, 166, 21);
    EXPECT_RECT(out.buttons[1].rect, 131, 4, 148, 21);
    EXPECT_EQ(out.hotIndex, -1);
    EXPECT_EQ(out.captionLeft, 3);
    EXPECT_EQ(out.captionRight, 131);
}

TEST(TitleBarButtons, IntervalAndHiddenButtons) {
    const std::vector<ButtonDesc> b{Btn(19, 2), Btn(19, 2, false), Btn(19, 2)};
    const auto out = LayoutButtons(b, {200, 0, 0, 4, false, std::nullopt});
    ASSERT_EQ(out.buttons.size(), 2u);
    EXPECT_EQ(out.buttons[0].index, 0);
    EXPECT_EQ(out.buttons[0].rect.left, 201 - 24);
    EXPECT_EQ(out.buttons[1].index, 2);
    EXPECT_EQ(out.buttons[1].rect.left, 201 - 48);
}

TEST(TitleBarButtons, TheMouseMakesOneButtonHotEdgesIncluded) {
    const std::vector<ButtonDesc> b{Btn(17, 4), Btn(17, 4)};
    ButtonBarDesc bar{168, 3, -2, 0, false, SkinPoint{148, 21}}; // bottom-right of button 1
    auto out = LayoutButtons(b, bar);
    EXPECT_EQ(out.hotIndex, 1);
    EXPECT_FALSE(out.buttons[0].hot);
    EXPECT_TRUE(out.buttons[1].hot);

    bar.mouse = SkinPoint{149, 4}; // top-left of button 0
    out = LayoutButtons(b, bar);
    EXPECT_EQ(out.hotIndex, 0);

    bar.mouse = SkinPoint{149, 22}; // just below
    EXPECT_EQ(LayoutButtons(b, bar).hotIndex, -1);
    bar.mouse = SkinPoint{149, 3}; // just above
    EXPECT_EQ(LayoutButtons(b, bar).hotIndex, -1);
}

TEST(TitleBarButtons, OverlappingButtonsLeaveOnlyTheLastOneHot) {
    // A negative interval makes the buttons overlap; one hot picture at a time.
    const std::vector<ButtonDesc> b{Btn(20, 0), Btn(20, 0)};
    const auto out = LayoutButtons(b, {100, 0, 0, -10, false, SkinPoint{95, 5}});
    EXPECT_EQ(out.hotIndex, 1);
    EXPECT_FALSE(out.buttons[0].hot);
    EXPECT_TRUE(out.buttons[1].hot);
}

TEST(TitleBarButtons, TheControlBoxSitsAtTheLeftAndMovesTheCaption) {
    // DeepBlue defaults: control box, close, max, min (19 pixels, Top 2, offsets 0).
    const std::vector<ButtonDesc> b{Btn(19, 2, true, true), Btn(19, 2), Btn(19, 2), Btn(19, 2)};
    auto out = LayoutButtons(b, {300, 0, 0, 0, false, SkinPoint{5, 5}});
    EXPECT_EQ(out.controlBoxIndex, 0);
    ASSERT_EQ(out.buttons.size(), 4u);
    EXPECT_EQ(out.buttons.back().index, 0);
    EXPECT_RECT(out.buttons.back().rect, 0, 2, 19, 21);
    EXPECT_EQ(out.hotIndex, 0);
    EXPECT_EQ(out.captionLeft, 24); // its width + 5
    EXPECT_EQ(out.captionRight, 301 - 60);
    EXPECT_FALSE(out.appIconAt);

    // With DrawAppIcon the icon goes 3 pixels in, and the caption 21 pixels after.
    out = LayoutButtons(b, {300, 4, 0, 0, true, std::nullopt});
    ASSERT_TRUE(out.appIconAt);
    EXPECT_EQ(out.appIconAt->x, 7);
    EXPECT_EQ(out.appIconAt->y, 2);
    EXPECT_EQ(out.captionLeft, 25);
}

TEST(TitleBarButtons, CaptionStartsAt6WithoutControlBoxAndOffset) {
    const std::vector<ButtonDesc> b{Btn(19, 2)};
    EXPECT_EQ(LayoutButtons(b, {200, 0, 0, 0, false, std::nullopt}).captionLeft, 6);
    // A hidden control box counts as none.
    const std::vector<ButtonDesc> hidden{Btn(19, 2, false, true)};
    const auto out = LayoutButtons(hidden, {200, 0, 0, 0, false, std::nullopt});
    EXPECT_EQ(out.controlBoxIndex, -1);
    EXPECT_EQ(out.captionLeft, 6);
}

TEST(TitleBarButtons, GlyphCellsOfEachType) {
    EXPECT_EQ(FirstGlyphCell(T::suiControlBox), 1);
    EXPECT_EQ(FirstGlyphCell(T::suiHelp), 4);
    EXPECT_EQ(FirstGlyphCell(T::suiMax), 7);
    EXPECT_EQ(FirstGlyphCell(T::suiMin), 13);
    EXPECT_EQ(FirstGlyphCell(T::suiClose), 16);
    EXPECT_FALSE(FirstGlyphCell(T::suiCustom));
    EXPECT_FALSE(FirstGlyphCell(static_cast<T>(200)));
}

// --- caption ----------------------------------------------------------------------------------

// Fixed metrics: every character 7 pixels wide, so the cut is predictable anywhere.
int Width7(std::wstring_view s) {
    return static_cast<int>(s.size()) * 7;
}

TEST(TitleBarCaption, FitsWholeOrIsCutWithAnEllipsis) {
    EXPECT_EQ(FitCaption(L" =Nestora=", 70, Width7), L" =Nestora=");
    // 69 pixels hold 9 characters: 6 of the caption and "...".
    EXPECT_EQ(FitCaption(L" =Nestora=", 69, Width7), L" =Nest...");
    EXPECT_EQ(FitCaption(L"abcdef", 28, Width7), L"a...");
}

TEST(TitleBarCaption, OnlyAnEllipsisOrNothingWhenTheRoomIsTiny) {
    EXPECT_EQ(FitCaption(L"abcdef", 21, Width7), L"...");
    EXPECT_EQ(FitCaption(L"abcdef", 20, Width7), L"");
    EXPECT_EQ(FitCaption(L"abcdef", 0, Width7), L"");
    EXPECT_EQ(FitCaption(L"abcdef", -40, Width7), L"");
    EXPECT_EQ(FitCaption(L"", -1, Width7), L"");
    EXPECT_EQ(FitCaption(L"", 0, Width7), L"");
}

TEST(TitleBarCaption, ACutNeverSplitsASurrogatePair) {
    // U+1F4C1 (a folder) is two UTF-16 units; it goes or stays whole. A cut that took one
    // unit off would leave "ab" and a lone high surrogate, which fits 42 pixels.
    const std::wstring caption = L"ab\xD83D\xDCC1"
                                 L"cdef";
    std::vector<std::wstring> seen;
    auto width = [&](std::wstring_view s) {
        seen.emplace_back(s);
        return static_cast<int>(s.size()) * 7;
    };
    EXPECT_EQ(FitCaption(caption, 7 * 7, width), L"ab\xD83D\xDCC1...");
    EXPECT_EQ(FitCaption(caption, 7 * 6, width), L"ab...");
    for (const std::wstring& s : seen)
        for (std::size_t i = 0; i < s.size(); ++i)
            if (s[i] == 0xD83D) {
                EXPECT_TRUE(i + 1 < s.size() && s[i + 1] == 0xDCC1) << "a lone high surrogate";
            }
}

TEST(TitleBarCaption, VerticalPlaceTruncatesTowardZero) {
    EXPECT_EQ(CaptionTop(17, 13, 4), 6);
    EXPECT_EQ(CaptionTop(17, 14, 4), 5);
    // A text taller than the strip: -3 / 2 is -1, not -2.
    EXPECT_EQ(CaptionTop(17, 20, 4), 3);
}

// --- hit test ---------------------------------------------------------------------------------

TEST(TitleBarHitTest, TopEdgeOfASizeableForm) {
    EXPECT_EQ(TitleBarEdgeHitTest({0, 0}, 170), kHtTopLeft);
    EXPECT_EQ(TitleBarEdgeHitTest({4, 4}, 170), kHtTopLeft);
    EXPECT_EQ(TitleBarEdgeHitTest({5, 4}, 170), kHtTop);
    EXPECT_EQ(TitleBarEdgeHitTest({165, 0}, 170), kHtTop);
    EXPECT_EQ(TitleBarEdgeHitTest({166, 0}, 170), kHtTopRight);
    EXPECT_EQ(TitleBarEdgeHitTest({80, -3}, 170), kHtTop);
    EXPECT_FALSE(TitleBarEdgeHitTest({0, 5}, 170));
    EXPECT_FALSE(TitleBarEdgeHitTest({80, 12}, 170));
}

} // namespace
} // namespace nestora::skin
