// The skinned menu's arithmetic: item sizes, where each part of an item goes, which colour
// the text takes, what each style writes into the menu, and the flat border's lines. The
// drawing code calls these same functions, so the Windows tests of the drawn pixels and
// these checks pin down the same numbers from two sides.
#include "skin/menu_geometry.h"

#include <gtest/gtest.h>

#include <array>

namespace nestora::skin {
namespace {

using gui::MakeRect;
using gui::TPoint;
using gui::TRect;
using S = TsuiUIStyle;

TEST(MenuGeometry, OnlyASingleDashIsASeparator) {
    EXPECT_TRUE(IsSeparatorCaption(L"-"));
    for (const wchar_t* caption : {L"--", L"- ", L" -", L"", L"&-", L"\u2013"})
        EXPECT_FALSE(IsSeparatorCaption(caption)) << static_cast<int>(caption[0]);
}

TEST(MenuGeometry, ItemSizeIsTheTextsAndTheBarPlusFortyAndTheStoredHeight) {
    EXPECT_EQ(MenuItemWidth(50, 0, 26), 116);
    EXPECT_EQ(MenuItemWidth(50, 37, 26), 153);
    EXPECT_EQ(MenuItemWidth(0, 0, 0), 40);
    EXPECT_EQ(MenuItemHeight(false, 21, 5), 21);
    EXPECT_EQ(MenuItemHeight(true, 21, 5), 5);
    EXPECT_EQ(MenuItemHeight(true, 20, 12), 12);
}

TEST(MenuGeometry, PartsOfAnItemAreMeasuredFromItsOwnCorner) {
    // Anywhere in the menu, not only at the origin.
    const TRect item = MakeRect(3, 40, 203, 61);
    const MenuItemLayout layout = LayOutMenuItem(item, 26);
    EXPECT_EQ(layout.bar, MakeRect(3, 40, 29, 61));
    EXPECT_EQ(layout.background, MakeRect(29, 40, 203, 61));
    // The separator line runs from L + BarWidth + 4 to R - 2 (excluded) at T + 2.
    EXPECT_EQ(layout.lineLeft, 33);
    EXPECT_EQ(layout.lineRight, 201);
    EXPECT_EQ(layout.lineY, 42);
    // Caption 4 right of the bar and 4 below the top, up to the item's end.
    EXPECT_EQ(layout.caption, MakeRect(33, 44, 203, 61));
    EXPECT_EQ(layout.textTop, 44);
    EXPECT_EQ(layout.glyph, (TPoint{7, 43}));
    // The box behind a checked image: 19 by 19 framed, 17 by 17 filled inside the frame.
    EXPECT_EQ(layout.boxFrame, MakeRect(5, 41, 24, 60));
    EXPECT_EQ(layout.boxFrame.Width(), 19);
    EXPECT_EQ(layout.boxFrame.Height(), 19);
    EXPECT_EQ(layout.boxFill, MakeRect(6, 42, 23, 59));
    // A 16-pixel image at the glyph corner sits inside the filled box.
    EXPECT_GE(layout.glyph.X, layout.boxFill.Left);
    EXPECT_LE(layout.glyph.X + 16, layout.boxFill.Right);
    EXPECT_LE(layout.glyph.Y + 16, layout.boxFill.Bottom);
}

TEST(MenuGeometry, AtAnotherDpiEveryOffsetIsScaledFromTheItemsOwnCorner) {
    // 150 %: the same item as above, placed where the system puts a 32-pixel row.
    const TRect item = MakeRect(3, 40, 303, 72);
    const MenuItemLayout layout = LayOutMenuItem(item, 26, 144);
    EXPECT_EQ(layout.bar, MakeRect(3, 40, 42, 72));
    EXPECT_EQ(layout.background, MakeRect(42, 40, 303, 72));
    EXPECT_EQ(layout.lineLeft, 48);
    EXPECT_EQ(layout.lineRight, 300);
    EXPECT_EQ(layout.lineY, 43);
    EXPECT_EQ(layout.caption, MakeRect(48, 46, 303, 72));
    EXPECT_EQ(layout.textTop, 46);
    EXPECT_EQ(layout.glyph, (TPoint{9, 45}));
    EXPECT_EQ(layout.glyphSize, 24);
    // The box keeps its square and still holds the scaled image.
    EXPECT_EQ(layout.boxFrame, MakeRect(6, 42, 35, 71));
    EXPECT_EQ(layout.boxFill, MakeRect(7, 43, 34, 70));
    EXPECT_LE(layout.glyph.X + layout.glyphSize, layout.boxFill.Right);
    EXPECT_LE(layout.glyph.Y + layout.glyphSize, layout.boxFill.Bottom);
    EXPECT_LE(layout.boxFrame.Bottom, item.Bottom);
    EXPECT_EQ(ShortcutLeft(item, 40, 144), 303 - 40 - 24);
    EXPECT_EQ(MenuItemWidth(50, 37, 26, 192), 50 + 37 + 132);
    // At 96 the default numbers are the designed ones.
    EXPECT_EQ(LayOutMenuItem(item, 26, 96), LayOutMenuItem(item, 26));
}

TEST(MenuGeometry, ARowIsNeverLowerThanItsFontNeeds) {
    // The designed row at 96 holds a 13-pixel font: text at 4, 2 below it.
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 13, 96), 21);
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 15, 96), 21);
    // A 16-pixel system font (Windows' 9-point one) needs 4 + 16 + 2.
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 16, 96), 22);
    // 150 %: 21 is 32; a 20-pixel font fits (6 + 20 + 3), a 25-pixel one grows the row.
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 20, 144), 32);
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 25, 144), 34);
    EXPECT_EQ(MenuItemHeightAtDpi(false, 21, 5, 26, 192), 42);
    // Separators follow their own height, whatever the font.
    EXPECT_EQ(MenuItemHeightAtDpi(true, 21, 5, 40, 144), 8);
    EXPECT_EQ(MenuItemHeightAtDpi(true, 20, 12, 13, 192), 24);
}

TEST(MenuGeometry, WithoutABarTheBackgroundFillsTheItemAndNothingLeavesIt) {
    const TRect item = MakeRect(10, 0, 110, 21);
    for (int bar : {0, -5, -1000}) {
        const MenuItemLayout layout = LayOutMenuItem(item, bar);
        EXPECT_TRUE(layout.bar.IsEmpty()) << bar;
        EXPECT_EQ(layout.background, item) << bar;
    }
    // The caption still follows the stored width, as the line does.
    EXPECT_EQ(LayOutMenuItem(item, 0).caption.Left, 14);
    EXPECT_EQ(LayOutMenuItem(item, 0).lineLeft, 14);
}

TEST(MenuGeometry, ShortcutIsRightAlignedSixteenFromTheEdge) {
    EXPECT_EQ(ShortcutLeft(MakeRect(0, 0, 200, 21), 40), 144);
    EXPECT_EQ(ShortcutLeft(MakeRect(50, 0, 250, 21), 40), 194);
    EXPECT_EQ(ShortcutLeft(MakeRect(0, 0, 200, 21), 0), 184);
}

TEST(MenuGeometry, AnImageIsDrawnOnlyWhenTheListHasIt) {
    EXPECT_TRUE(MenuImageDrawn(0, true, 3));
    EXPECT_TRUE(MenuImageDrawn(2, true, 3));
    EXPECT_FALSE(MenuImageDrawn(3, true, 3));
    EXPECT_FALSE(MenuImageDrawn(-1, true, 3));
    EXPECT_FALSE(MenuImageDrawn(-2, true, 3)); // no image below -1 either
    EXPECT_FALSE(MenuImageDrawn(0, false, 3));
    EXPECT_FALSE(MenuImageDrawn(0, true, 0));
}

TEST(MenuGeometry, DisabledItemsAreGreyAndNeverHighlighted) {
    constexpr TColor selectedFont = 0x00FFFFFF;
    constexpr TColor font = 0x00123456;
    EXPECT_EQ(MenuItemTextColor(true, false, selectedFont, font), font);
    EXPECT_EQ(MenuItemTextColor(true, true, selectedFont, font), selectedFont);
    EXPECT_EQ(MenuItemTextColor(false, true, selectedFont, font), 0x00808080u);
    EXPECT_EQ(MenuItemTextColor(false, false, selectedFont, font), 0x00808080u);
    EXPECT_TRUE(MenuItemHighlighted(true, true));
    EXPECT_FALSE(MenuItemHighlighted(true, false));
    EXPECT_FALSE(MenuItemHighlighted(false, true));
}

TEST(MenuGeometry, EveryStyleWritesItsRowOfMenuValues) {
    struct Row {
        S style;
        int itemHeight, separatorHeight;
        TColor separator, bar, color, font, selectedBorder, selected, selectedFont, flatLine;
    };
    const std::array<Row, 5> rows{{
        {S::MacOS, 20, 12, 0, 0, 0, 0, 0x00C47339, 0x00C47339, 0x00FFFFFF, 0x00E7E7E7},
        {S::WinXP, 21, 5, 0x00848284, 0x00CED3D6, 0x00FFFFFF, 0, 0x00C66931, 0x00EFD3C6, 0,
         0x00DEEBEF},
        {S::DeepBlue, 21, 5, 0x00848284, 0x00CED3D6, 0x00FFFFFF, 0, 0x00A04A44, 0x00A04A44,
         0x00FFFFFF, 0x00E8E8E8},
        {S::Protein, 21, 5, 0x00848284, 0x00CED3D6, 0x00FFFFFF, 0, 0x00C4302D, 0x00C4302D,
         0x00FFFFFF, 0x00FBFBFB},
        {S::BlueGlass, 21, 5, 0x00848284, 0x00CED3D6, 0x00E7E7E7, 0, 0x00EC5E5E, 0x00EC5E5E,
         0x00FFFFFF, 0x00E7E7E7},
    }};
    for (const Row& row : rows) {
        const MenuStyleValues v = MenuStyleValuesFor(row.style, row.style);
        const int s = static_cast<int>(row.style);
        EXPECT_EQ(v.menuItemHeight, row.itemHeight) << s;
        EXPECT_EQ(v.separatorHeight, row.separatorHeight) << s;
        EXPECT_EQ(v.barWidth, 26) << s;
        EXPECT_EQ(v.separatorColor, row.separator) << s;
        EXPECT_EQ(v.barColor, row.bar) << s;
        EXPECT_EQ(v.color, row.color) << s;
        EXPECT_EQ(v.fontColor, row.font) << s;
        EXPECT_EQ(v.selectedBorderColor, row.selectedBorder) << s;
        EXPECT_EQ(v.selectedColor, row.selected) << s;
        EXPECT_EQ(v.selectedFontColor, row.selectedFont) << s;
        EXPECT_EQ(MenuFlatBorderLineColor(row.style), row.flatLine) << s;
    }
}

TEST(MenuGeometry, FromThemeFileFallingBackToDeepBlueTakesTheDeepBlueRow) {
    const MenuStyleValues v = MenuStyleValuesFor(S::FromThemeFile, S::DeepBlue);
    const MenuStyleValues deepBlue = MenuStyleValuesFor(S::DeepBlue, S::DeepBlue);
    EXPECT_EQ(v.menuItemHeight, 21);
    EXPECT_EQ(v.separatorHeight, 5);
    EXPECT_EQ(v.separatorColor, 0x00848284u);
    EXPECT_EQ(v.barColor, deepBlue.barColor);
    EXPECT_EQ(v.selectedColor, deepBlue.selectedColor);
    // Resolved to a theme: the heights are the usual ones, the colours are the theme's to
    // give (the table has none for FromThemeFile).
    const MenuStyleValues theme = MenuStyleValuesFor(S::FromThemeFile, S::FromThemeFile);
    EXPECT_EQ(theme.menuItemHeight, 21);
    EXPECT_EQ(theme.separatorHeight, 5);
    EXPECT_EQ(theme.barColor, 0u);
}

TEST(MenuGeometry, FlatBorderFramesAndOuterEdges) {
    const FlatMenuBorder border = LayOutFlatMenuBorder(MakeRect(100, 50, 300, 150));
    EXPECT_EQ(border.outerFrame, MakeRect(100, 51, 299, 149));
    EXPECT_EQ(border.innerFrame, MakeRect(101, 52, 298, 148));
    const TPoint expected[5] = {{100, 149}, {299, 149}, {299, 50}, {300, 50}, {100, 50}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(border.line[i], expected[i]) << i;
}

} // namespace
} // namespace nestora::skin
