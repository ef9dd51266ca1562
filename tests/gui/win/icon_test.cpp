// TIcon: taking over, copying with CopyIcon, loading by resource name, and drawing through
// the mask.
#include "gui/win/icon.h"

#include "gui/core/exceptions.h"
#include "gui/win/canvas.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::HalfRedIcon;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

TEST(Icon, TakesOverAHandleAndKnowsItsSize) {
    const long before = HandleCounters::Live(HandleKind::Icon);
    {
        TIcon icon;
        EXPECT_TRUE(icon.Empty());
        icon.SetHandle(HalfRedIcon());
        EXPECT_FALSE(icon.Empty());
        EXPECT_EQ(icon.Width(), 16);
        EXPECT_EQ(icon.Height(), 16);
        EXPECT_TRUE(icon.Transparent());
        EXPECT_EQ(HandleCounters::Live(HandleKind::Icon), before + 1);
    }
    EXPECT_EQ(HandleCounters::Live(HandleKind::Icon), before);
}

TEST(Icon, DrawsOnlyWhereTheMaskLetsIt) {
    TIcon icon;
    icon.SetHandle(HalfRedIcon());
    TBitmap target;
    MakeFilled(target, 20, 20, clBlue);
    target.Canvas().Draw(2, 2, icon);
    EXPECT_EQ(CountColor(target, MakeRect(2, 2, 10, 18), clRed), 8 * 16);
    EXPECT_EQ(CountColor(target, MakeRect(10, 2, 18, 18), clBlue), 8 * 16);
    target.Canvas().StretchDraw(MakeRect(0, 0, 4, 4), icon);
    EXPECT_EQ(PixelOf(target, 0, 0), clRed);
    EXPECT_EQ(PixelOf(target, 3, 0), clBlue);
}

TEST(Icon, AssignMakesItsOwnCopy) {
    TIcon source;
    source.SetHandle(HalfRedIcon());
    TIcon copy;
    copy.Assign(source);
    EXPECT_NE(copy.Handle(), source.Handle());
    EXPECT_EQ(copy.Width(), 16);
    // The copy outlives the original's handle.
    source.SetHandle(UniqueIcon());
    EXPECT_TRUE(source.Empty());
    TBitmap target;
    MakeFilled(target, 16, 16, clBlue);
    target.Canvas().Draw(0, 0, copy);
    EXPECT_EQ(PixelOf(target, 0, 0), clRed);
}

TEST(Icon, ResourcesByNameAtARequestedSize) {
    TIcon icon;
    try {
        icon.LoadFromResourceName(::GetModuleHandleW(nullptr), L"NO_SUCH_ICON", 16, 16);
        FAIL() << "a missing resource must raise";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH_ICON not found");
    }
    // user32 carries the standard icons as numbered ICON groups (IDI_APPLICATION 32512).
    HMODULE user32 = nestora::gui::testing::SystemModule(L"user32.dll");
    icon.LoadFromResourceName(user32, L"#32512", 16, 16);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    icon.LoadFromResourceName(user32, L"#32512", 32, 32);
    EXPECT_EQ(icon.Width(), 32);
}

} // namespace
