// The default layout of owner-drawn menu items with fixed metrics (no fonts involved).
#include "gui/core/menu_item_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

MenuItemMetrics Metrics(int caption, int shortcut) {
    MenuItemMetrics m;
    m.captionWidth = caption;
    m.shortcutWidth = shortcut;
    m.textHeight = 13;
    return m;
}

TEST(MenuItemLayout, SizesOfItemsSeparatorsAndBarItems) {
    // 2 + (16 + 4) + 4 + 50 + 16 = 92; with a 30-pixel shortcut 16 + 30 more.
    EXPECT_EQ(MeasureMenuItem(Metrics(50, 0)), (TSize{92, 20}));
    EXPECT_EQ(MeasureMenuItem(Metrics(50, 30)), (TSize{138, 20}));
    MenuItemMetrics tall = Metrics(50, 0);
    tall.imageHeight = 24;
    tall.imageWidth = 24;
    EXPECT_EQ(MeasureMenuItem(tall), (TSize{100, 28}));
    MenuItemMetrics line = Metrics(50, 0);
    line.separator = true;
    EXPECT_EQ(MeasureMenuItem(line).Height, kMenuSeparatorHeight);
    MenuItemMetrics bar = Metrics(40, 0);
    bar.menuBar = true;
    EXPECT_EQ(MeasureMenuItem(bar), (TSize{52, 17}));
}

TEST(MenuItemLayout, PartsOfAMeasuredItemFitItExactly) {
    const MenuItemMetrics m = Metrics(50, 30);
    const TSize size = MeasureMenuItem(m);
    const TRect item = BoundsRect(10, 100, size.Width, size.Height);
    const MenuItemPlacement p = PlaceMenuItem(m, item);
    EXPECT_EQ(p.glyph, BoundsRect(14, 102, 16, 16));
    EXPECT_EQ(p.caption.Left, 10 + 2 + 20 + 4);
    EXPECT_EQ(p.caption.Width(), 50);
    EXPECT_EQ(p.shortcut.Width(), 30);
    EXPECT_EQ(p.shortcut.Right, item.Right - 16);
    EXPECT_EQ(p.shortcut.Left - p.caption.Right, 16);
    EXPECT_EQ(p.caption.Top, item.Top);
    EXPECT_EQ(p.caption.Bottom, item.Bottom);
    EXPECT_EQ(p.separatorY, 110);
}

TEST(MenuItemLayout, AWiderItemGivesTheCaptionTheRoomAndTooNarrowOnesStayOrdered) {
    const MenuItemMetrics m = Metrics(50, 30);
    const MenuItemPlacement wide = PlaceMenuItem(m, MakeRect(0, 0, 300, 20));
    EXPECT_EQ(wide.shortcut.Right, 284);
    EXPECT_EQ(wide.caption.Right, 284 - 30 - 16);
    const MenuItemPlacement narrow = PlaceMenuItem(m, MakeRect(0, 0, 20, 20));
    EXPECT_LE(narrow.caption.Left, narrow.caption.Right);
    EXPECT_LE(narrow.shortcut.Left, narrow.shortcut.Right);
    EXPECT_TRUE(PlaceMenuItem(Metrics(10, 0), MakeRect(0, 0, 100, 20)).shortcut.IsEmpty());
    MenuItemMetrics bar = Metrics(40, 0);
    bar.menuBar = true;
    EXPECT_EQ(PlaceMenuItem(bar, MakeRect(5, 0, 57, 17)).caption, MakeRect(5, 0, 57, 17));
}

} // namespace
