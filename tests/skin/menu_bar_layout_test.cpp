// The skinned menu bar's button arithmetic: which buttons the bar leaves to the tool bar,
// and where a highlighted button's fill and caption go.
#include "skin/menu_bar_layout.h"

#include <gtest/gtest.h>

namespace nestora::skin {
namespace {

using gui::TRect;
using S = TsuiUIStyle;

TEST(MenuBarLayout, OnlyHotOrPressedButtonsAreDrawnByTheSkinAndMacOSAloneGetsStripes) {
    for (S style : {S::FromThemeFile, S::MacOS, S::WinXP, S::DeepBlue, S::Protein, S::BlueGlass}) {
        EXPECT_EQ(ChooseMenuBarButtonLook(style, false, false), MenuBarButtonLook::ToolBarDraws);
        const MenuBarButtonLook lit =
            style == S::MacOS ? MenuBarButtonLook::MacStripes : MenuBarButtonLook::FlatHighlight;
        EXPECT_EQ(ChooseMenuBarButtonLook(style, true, false), lit);
        EXPECT_EQ(ChooseMenuBarButtonLook(style, false, true), lit);
        EXPECT_EQ(ChooseMenuBarButtonLook(style, true, true), lit);
    }
}

TEST(MenuBarLayout, APressedButtonIsTwoNarrowerAndItsCaptionMovesTwoRightAndDown) {
    const TRect button{10, 0, 50, 22};
    const FlatMenuBarButton pressed = LayOutFlatMenuBarButton(button, true);
    EXPECT_EQ(pressed.fill, (TRect{10, 0, 48, 22}));
    EXPECT_EQ(pressed.caption, (TRect{12, 2, 48, 22}));

    const FlatMenuBarButton hot = LayOutFlatMenuBarButton(button, false);
    EXPECT_EQ(hot.fill, button);
    EXPECT_EQ(hot.caption, (TRect{10, 2, 50, 22}));
}

TEST(MenuBarLayout, ANarrowPressedButtonLeavesAnEmptyFillRatherThanAnInvertedOne) {
    // One pixel wide and high: nothing is left to fill, and the rectangles say so.
    const FlatMenuBarButton pressed = LayOutFlatMenuBarButton(TRect{5, 0, 6, 1}, true);
    EXPECT_EQ(pressed.fill, (TRect{5, 0, 5, 1}));
    EXPECT_EQ(pressed.caption, (TRect{5, 1, 5, 1}));
}

TEST(MenuBarLayout, TheMacCaptionBoxIsTwoTallerSoTheCentredCaptionSitsOneLow) {
    EXPECT_EQ(MacMenuBarCaptionRect(40, 22), (TRect{0, 0, 40, 24}));
    EXPECT_EQ(MacMenuBarCaptionRect(0, 0), (TRect{0, 0, 0, 2}));
}

} // namespace
} // namespace nestora::skin
