// Double-buffered painting: nothing reaches the target until the buffer is copied, then all
// of it at once, at the target's coordinates.
#include "gui/win/canvas_buffer.h"

#include "gui/win/canvas.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

TEST(PaintBuffer, DrawsOffScreenAndCopiesOnceAtTheTargetsCoordinates) {
    TBitmap target;
    MakeFilled(target, 30, 30, clBlack);
    target.Canvas().Font().SetColor(clAqua);
    {
        TPaintBuffer buffer(target.Canvas(), MakeRect(10, 10, 20, 20));
        TCanvas& c = buffer.Canvas();
        EXPECT_EQ(c.Font().Color(), clAqua); // starts like the target
        c.Brush().SetColor(clRed);
        c.FillRect(MakeRect(10, 10, 20, 20));
        c.Brush().SetColor(clYellow);
        c.FillRect(MakeRect(15, 15, 16, 16));
        EXPECT_EQ(CountColor(target, MakeRect(0, 0, 30, 30), clBlack), 900);
        buffer.Flush();
        EXPECT_EQ(CountColor(target, MakeRect(10, 10, 20, 20), clRed), 99);
        EXPECT_EQ(PixelOf(target, 15, 15), clYellow);
        // A second copy does not happen: drawing after Flush stays off-screen.
        c.FillRect(MakeRect(10, 10, 20, 20));
    }
    EXPECT_EQ(PixelOf(target, 10, 10), clRed);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 30, 30), clBlack), 800);
}

TEST(PaintBuffer, CopiesWhenItGoesAndLeaksNothing) {
    TBitmap target;
    MakeFilled(target, 8, 8, clBlack);
    target.Canvas().Handle(); // the target's own DC is not the buffer's to free
    const nestora::gui::testing::LiveHandles before;
    for (int i = 0; i < 500; ++i) {
        TPaintBuffer buffer(target.Canvas(), MakeRect(0, 0, 8, 8));
        buffer.Canvas().Brush().SetColor(RGBColor(0, i % 200 + 1, 0));
        buffer.Canvas().FillRect(MakeRect(0, 0, 8, 8));
    }
    const nestora::gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(PixelOf(target, 7, 7), RGBColor(0, 499 % 200 + 1, 0));
    // An empty area draws nowhere and copies nothing.
    TPaintBuffer empty(target.Canvas(), MakeRect(5, 5, 5, 9));
}

} // namespace
