// The skinned form's arithmetic: the panel's place, the form's size from the frame's Width
// and Height, the border strips, the edge hit-test table and the created-maximised rule.
#include "skin/form_layout.h"
#include "skin/title_bar_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace nestora::skin {
namespace {

TEST(FramePanel, TheProgramsWindowPutsThePanelAt1And0) {
    EXPECT_EQ(FramePanelBounds(170, 134, 1, true, false), (PanelBounds{1, 0, 168, 133}));
}

TEST(FramePanel, HidingTheTitleBarMovesThePanelDownToTheBorder) {
    EXPECT_EQ(FramePanelBounds(170, 134, 1, false, false), (PanelBounds{1, 1, 168, 132}));
    EXPECT_EQ(FramePanelBounds(200, 100, 3, false, false), (PanelBounds{3, 3, 194, 94}));
}

TEST(FramePanel, MdiChildrenLeaveThreeMorePixels) {
    EXPECT_EQ(FramePanelBounds(200, 100, 3, true, true), (PanelBounds{3, 0, 191, 94}));
}

TEST(FramePanel, AFormSmallerThanItsBorderGetsAnEmptyPanel) {
    EXPECT_EQ(FramePanelBounds(4, 2, 3, false, false), (PanelBounds{3, 3, 0, 0}));
}

TEST(FrameSize, WidthAndHeightOfTheFormFromThePanelsSize) {
    EXPECT_EQ(FormWidthForPanel(100, 3), 106);
    EXPECT_EQ(FormHeightForPanel(100, 3), 104);
    EXPECT_EQ(FormWidthForPanel(168, 1), 170);
    EXPECT_EQ(FormHeightForPanel(133, 1), 134);
    EXPECT_EQ(FormHeightForPanel(100, 0), 100);
}

TEST(FrameBorder, StripsOfANormalAndAnMdiChildForm) {
    BorderStrips s = FrameBorderStrips(170, 134, 1, false);
    EXPECT_EQ(s.left.right, 1);
    EXPECT_EQ(s.left.bottom, 134);
    EXPECT_EQ(s.bottom.top, 133);
    EXPECT_EQ(s.bottom.right, 170);
    EXPECT_EQ(s.right.left, 169);
    EXPECT_EQ(s.right.bottom, 134);
    EXPECT_EQ(s.topLineTo.x, 170);
    EXPECT_EQ(s.topLineTo.y, 0);

    s = FrameBorderStrips(170, 134, 3, true);
    EXPECT_EQ(s.left.bottom, 132);
    EXPECT_EQ(s.bottom.top, 128);
    EXPECT_EQ(s.right.left, 164);
}

TEST(FrameBorder, AnyRequestedWidthIsKeptBetweenNoneAndTheWidestDrawn) {
    EXPECT_EQ(UsableBorderWidth(-1), 0); // a theme without the element
    EXPECT_EQ(UsableBorderWidth(std::numeric_limits<int>::min()), 0);
    EXPECT_EQ(UsableBorderWidth(0), 0);
    EXPECT_EQ(UsableBorderWidth(2), 2);
    EXPECT_EQ(UsableBorderWidth(kMaxBorderWidth), kMaxBorderWidth);
    EXPECT_EQ(UsableBorderWidth(0x00100002), kMaxBorderWidth); // 2 with a bit flipped
    EXPECT_EQ(UsableBorderWidth(std::numeric_limits<int>::max()), kMaxBorderWidth);
}

TEST(FrameHitTest, TheEdgeTableOfASizeableForm) {
    const int cw = 170, ch = 134;
    struct Case {
        SkinPoint p;
        int code;
    };
    const Case cases[] = {
        {{2, 2}, kHtTopLeft},
        {{4, 4}, kHtTopLeft},
        {{cw - 3, 2}, kHtTopRight},
        {{cw - 3, ch - 3}, kHtBottomRight},
        {{2, ch - 3}, kHtBottomLeft},
        {{2, 50}, kHtLeft},
        {{80, 2}, kHtTop},
        {{cw - 4, 50}, kHtRight},
        {{80, ch - 1}, kHtBottom},
        {{-5, 50}, kHtLeft},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormEdgeHitTest(c.p, cw, ch), c.code) << c.p.x << ", " << c.p.y;
    // CW - 5 is still inside: the saved procedure's answer stays.
    EXPECT_FALSE(FormEdgeHitTest({cw - 5, 50}, cw, ch));
    EXPECT_FALSE(FormEdgeHitTest({5, 5}, cw, ch));
    EXPECT_FALSE(FormEdgeHitTest({80, ch - 5}, cw, ch));
}

TEST(FrameHitTest, OnATinyFormTheCornersWinInTheTablesOrder) {
    // 6 by 6: every point is near two edges at once.
    EXPECT_EQ(FormEdgeHitTest({3, 3}, 6, 6), kHtTopLeft);
    EXPECT_EQ(FormEdgeHitTest({5, 3}, 6, 6), kHtTopRight);
    EXPECT_EQ(FormEdgeHitTest({5, 5}, 6, 6), kHtBottomRight);
}

TEST(CreatedMaximised, TwoSizeMessagesAreCountedThenTheFormIsMaximisedAgain) {
    bool created = true;
    int counter = 0;
    EXPECT_FALSE(OnSizeOfCreatedMaximised(created, counter, true).maximiseAgain);
    EXPECT_FALSE(OnSizeOfCreatedMaximised(created, counter, true).maximiseAgain);
    EXPECT_EQ(counter, 2);
    EXPECT_TRUE(OnSizeOfCreatedMaximised(created, counter, true).maximiseAgain);
    EXPECT_TRUE(OnSizeOfCreatedMaximised(created, counter, true).maximiseAgain);
    EXPECT_EQ(counter, 2);
    EXPECT_TRUE(created);

    const CreatedMaximisedStep restored = OnSizeOfCreatedMaximised(created, counter, false);
    EXPECT_TRUE(restored.restoreSavedBounds);
    EXPECT_FALSE(restored.maximiseAgain);
    EXPECT_FALSE(created);

    // The rule has ended: later size messages, maximised or not, change nothing.
    const CreatedMaximisedStep later = OnSizeOfCreatedMaximised(created, counter, true);
    EXPECT_FALSE(later.maximiseAgain);
    EXPECT_FALSE(later.restoreSavedBounds);
    EXPECT_EQ(counter, 2);
}

TEST(CreatedMaximised, AFormNotCreatedMaximisedIsLeftAlone) {
    bool created = false;
    int counter = 0;
    const CreatedMaximisedStep step = OnSizeOfCreatedMaximised(created, counter, true);
    EXPECT_FALSE(step.maximiseAgain);
    EXPECT_FALSE(step.restoreSavedBounds);
    EXPECT_EQ(counter, 0);
}

} // namespace
} // namespace nestora::skin
