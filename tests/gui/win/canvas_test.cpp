// TCanvas on memory bitmaps, checked pixel by pixel: brushes (solid, clear, pattern, hatch),
// pens, shapes, text, pixels, copying, and the promise that selected objects are let go of
// before they are destroyed.
#include "gui/win/canvas.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

constexpr TColor kBack = RGBColor(10, 20, 30);

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { MakeFilled(bitmap, 40, 30, kBack); }
    TCanvas& Canvas() { return bitmap.Canvas(); }
    TBitmap bitmap;
};

TEST_F(CanvasTest, FillRectPaintsInsideAndExcludesRightAndBottomEdges) {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(MakeRect(5, 6, 15, 16));
    EXPECT_EQ(CountColor(bitmap, MakeRect(5, 6, 15, 16), clRed), 100);
    EXPECT_EQ(PixelOf(bitmap, 15, 10), kBack);
    EXPECT_EQ(PixelOf(bitmap, 10, 16), kBack);
    EXPECT_EQ(PixelOf(bitmap, 4, 6), kBack);
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 0, 40, 30), clRed), 100);
}

TEST_F(CanvasTest, SystemColoursAreResolvedThroughTheSystem) {
    Canvas().Brush().SetColor(clBtnFace);
    Canvas().FillRect(MakeRect(0, 0, 2, 2));
    const COLORREF expected = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(PixelOf(bitmap, 1, 1),
              RGBColor(GetRValue(expected), GetGValue(expected), GetBValue(expected)));
}

TEST_F(CanvasTest, ClearBrushFillsNothingAndTextKeepsTheBackground) {
    Canvas().Brush().SetColor(clYellow);
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().FillRect(MakeRect(0, 0, 40, 30));
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 0, 40, 30), kBack), 40 * 30);

    Canvas().Font().SetColor(clWhite);
    Canvas().TextOut(2, 2, L"WWWW");
    const TSize size = Canvas().TextExtent(L"WWWW");
    const TRect cell = BoundsRect(2, 2, size.Width, size.Height);
    EXPECT_GT(CountColor(bitmap, cell, clWhite), 0);
    // No opaque box behind the text: the old background shows between the letters and
    // the brush's colour is nowhere.
    EXPECT_GT(CountColor(bitmap, cell, kBack), 0);
    EXPECT_EQ(CountColor(bitmap, cell, clYellow), 0);
}

TEST_F(CanvasTest, SettingAColourMakesAClearBrushSolidAgain) {
    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Brush().SetColor(clLime);
    EXPECT_EQ(Canvas().Brush().Style(), TBrushStyle::bsSolid);
    Canvas().FillRect(MakeRect(0, 0, 3, 3));
    EXPECT_EQ(PixelOf(bitmap, 2, 2), clLime);
}

TEST_F(CanvasTest, OpaqueTextFillsItsCellWithTheBrushColour) {
    Canvas().Brush().SetColor(clYellow);
    Canvas().Font().SetColor(clBlue);
    Canvas().TextOut(1, 1, L"Ag");
    const TSize size = Canvas().TextExtent(L"Ag");
    ASSERT_GT(size.Width, 0);
    ASSERT_GT(size.Height, 0);
    const TRect cell = BoundsRect(1, 1, size.Width, size.Height);
    EXPECT_EQ(CountColor(bitmap, cell, kBack), 0);
    EXPECT_GT(CountColor(bitmap, cell, clYellow), 0);
    EXPECT_GT(CountColor(bitmap, cell, clBlue), 0);
    // Nothing outside the cell.
    EXPECT_EQ(PixelOf(bitmap, cell.Right, cell.Top), kBack);
    EXPECT_EQ(PixelOf(bitmap, cell.Left, cell.Bottom), kBack);
}

TEST_F(CanvasTest, FrameRectDrawsOnlyTheOnePixelBorder) {
    Canvas().Brush().SetColor(clRed);
    Canvas().FrameRect(MakeRect(2, 2, 12, 8));
    EXPECT_EQ(PixelOf(bitmap, 2, 2), clRed);
    EXPECT_EQ(PixelOf(bitmap, 11, 7), clRed);
    EXPECT_EQ(PixelOf(bitmap, 6, 2), clRed);
    EXPECT_EQ(PixelOf(bitmap, 2, 5), clRed);
    EXPECT_EQ(CountColor(bitmap, MakeRect(3, 3, 11, 7), kBack), 8 * 4);
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 0, 40, 30), clRed), 2 * 10 + 2 * 4);
}

TEST_F(CanvasTest, RectangleHasThePenOutlineAndTheBrushInside) {
    Canvas().Pen().SetColor(clBlue);
    Canvas().Brush().SetColor(clLime);
    Canvas().Rectangle(MakeRect(1, 1, 11, 9));
    EXPECT_EQ(PixelOf(bitmap, 1, 1), clBlue);
    EXPECT_EQ(PixelOf(bitmap, 10, 8), clBlue);
    EXPECT_EQ(PixelOf(bitmap, 5, 5), clLime);
    EXPECT_EQ(PixelOf(bitmap, 11, 9), kBack);
    EXPECT_EQ(CountColor(bitmap, MakeRect(2, 2, 10, 8), clLime), 8 * 6);
}

TEST_F(CanvasTest, LinesExcludeTheirEndPointAndMoveThePen) {
    Canvas().Pen().SetColor(clWhite);
    Canvas().MoveTo(3, 4);
    Canvas().LineTo(13, 4);
    EXPECT_EQ(Canvas().PenPos(), (TPoint{13, 4}));
    EXPECT_EQ(CountColor(bitmap, MakeRect(3, 4, 13, 5), clWhite), 10);
    EXPECT_EQ(PixelOf(bitmap, 13, 4), kBack);
    EXPECT_EQ(PixelOf(bitmap, 2, 4), kBack);
    // The next line starts where the last one ended.
    Canvas().LineTo(13, 10);
    EXPECT_EQ(CountColor(bitmap, MakeRect(13, 4, 14, 10), clWhite), 6);
}

TEST_F(CanvasTest, PenWidthAndStyle) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Pen().SetWidth(3);
    Canvas().MoveTo(5, 10);
    Canvas().LineTo(30, 10);
    // A 3-pixel pen covers the rows above and below the line's own.
    EXPECT_EQ(PixelOf(bitmap, 15, 9), clRed);
    EXPECT_EQ(PixelOf(bitmap, 15, 10), clRed);
    EXPECT_EQ(PixelOf(bitmap, 15, 11), clRed);
    EXPECT_EQ(PixelOf(bitmap, 15, 13), kBack);

    Canvas().Pen().SetWidth(1);
    Canvas().Pen().SetStyle(TPenStyle::psClear);
    Canvas().MoveTo(0, 20);
    Canvas().LineTo(40, 20);
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 20, 40, 21), kBack), 40);

    Canvas().Pen().SetStyle(TPenStyle::psDot);
    Canvas().MoveTo(0, 25);
    Canvas().LineTo(40, 25);
    const int dotted = CountColor(bitmap, MakeRect(0, 25, 40, 26), clRed);
    EXPECT_GT(dotted, 5);
    EXPECT_LT(dotted, 35);
}

TEST_F(CanvasTest, PolylineJoinsAllPoints) {
    Canvas().Pen().SetColor(clYellow);
    const std::array<TPoint, 3> points{TPoint{2, 2}, TPoint{20, 2}, TPoint{20, 12}};
    Canvas().Polyline(points);
    EXPECT_EQ(PixelOf(bitmap, 10, 2), clYellow);
    EXPECT_EQ(PixelOf(bitmap, 20, 7), clYellow);
    EXPECT_EQ(PixelOf(bitmap, 20, 12), kBack); // last point excluded
    EXPECT_EQ(Canvas().PenPos(), (TPoint{20, 12}));
}

TEST_F(CanvasTest, EllipseAndRoundRectLeaveTheCornersOut) {
    Canvas().Pen().SetColor(clBlue);
    Canvas().Brush().SetColor(clLime);
    Canvas().Ellipse(0, 0, 20, 20);
    EXPECT_EQ(PixelOf(bitmap, 10, 10), clLime);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), kBack);
    EXPECT_EQ(PixelOf(bitmap, 19, 19), kBack);

    Canvas().RoundRect(20, 0, 40, 20, 10, 10);
    EXPECT_EQ(PixelOf(bitmap, 20, 0), kBack);
    EXPECT_EQ(PixelOf(bitmap, 30, 0), clBlue);
    EXPECT_EQ(PixelOf(bitmap, 20, 10), clBlue);
    EXPECT_EQ(PixelOf(bitmap, 30, 10), clLime);
}

TEST_F(CanvasTest, PatternBrushTilesItsEightByEightBitmap) {
    TBitmap pattern;
    MakeFilled(pattern, 8, 8, clWhite);
    pattern.Canvas().Brush().SetColor(clRed);
    pattern.Canvas().FillRect(MakeRect(0, 0, 4, 4));
    Canvas().Brush().SetBitmap(&pattern);
    // The brush keeps its own copy: changing the original later changes nothing.
    pattern.Canvas().Brush().SetColor(clBlue);
    pattern.Canvas().FillRect(MakeRect(0, 0, 8, 8));

    Canvas().FillRect(MakeRect(0, 0, 16, 16));
    EXPECT_EQ(PixelOf(bitmap, 0, 0), clRed);
    EXPECT_EQ(PixelOf(bitmap, 5, 5), clWhite);
    EXPECT_EQ(PixelOf(bitmap, 8, 8), clRed);
    EXPECT_EQ(PixelOf(bitmap, 11, 3), clRed);
    EXPECT_EQ(PixelOf(bitmap, 12, 3), clWhite);
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 0, 16, 16), clRed), 4 * 16);
    EXPECT_EQ(PixelOf(bitmap, 16, 0), kBack);
}

TEST_F(CanvasTest, HatchBrushDrawsLinesOverTheBackground) {
    Canvas().Brush().SetColor(clRed);
    Canvas().Brush().SetStyle(TBrushStyle::bsHorizontal);
    Canvas().FillRect(MakeRect(0, 0, 16, 16));
    const int lines = CountColor(bitmap, MakeRect(0, 0, 16, 16), clRed);
    EXPECT_GT(lines, 0);
    EXPECT_LT(lines, 16 * 16);
}

TEST_F(CanvasTest, PixelsReadAndWrite) {
    Canvas().SetPixel(7, 8, clFuchsia);
    EXPECT_EQ(PixelOf(bitmap, 7, 8), clFuchsia);
    EXPECT_EQ(Canvas().Pixel(7, 8), clFuchsia);
    EXPECT_EQ(Canvas().Pixel(0, 0), kBack);
    EXPECT_EQ(Canvas().Pixel(400, 400), clNone);
}

TEST_F(CanvasTest, DrawTextMeasuresAndAligns) {
    TRect measured = MakeRect(0, 0, 0, 0);
    const int height = Canvas().DrawText(L"Hello", measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(measured.Width(), Canvas().TextWidth(L"Hello"));
    EXPECT_EQ(measured.Height(), height);

    Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    Canvas().Font().SetColor(clWhite);
    TRect box = MakeRect(0, 0, 40, 30);
    Canvas().DrawText(L"I", box, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    // Right and bottom aligned: ink in the bottom-right part, none in the top-left.
    EXPECT_GT(CountColor(bitmap, MakeRect(30, 15, 40, 30), clWhite), 0);
    EXPECT_EQ(CountColor(bitmap, MakeRect(0, 0, 20, 15), clWhite), 0);
}

TEST_F(CanvasTest, CopyRectCopiesAndScales) {
    TBitmap source;
    MakeFilled(source, 4, 4, clBlue);
    source.Canvas().SetPixel(0, 0, clRed);
    Canvas().CopyRect(MakeRect(10, 10, 18, 18), source.Canvas(), MakeRect(0, 0, 4, 4));
    EXPECT_EQ(CountColor(bitmap, MakeRect(10, 10, 12, 12), clRed), 4);
    EXPECT_EQ(CountColor(bitmap, MakeRect(10, 10, 18, 18), clBlue), 64 - 4);
    EXPECT_EQ(PixelOf(bitmap, 18, 18), kBack);
}

TEST(CanvasHandle, ACanvasWithoutADeviceContextRefusesToDraw) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_THROW(canvas.FillRect(MakeRect(0, 0, 1, 1)), EInvalidOperation);
}

// An attached DC gets back exactly what it had; objects the canvas selected are
// deselected before they are deleted, so deleting them really works.
TEST(CanvasHandle, AttachedDeviceContextGetsItsObjectsBackAndOldObjectsReallyGo) {
    TBitmap target;
    MakeFilled(target, 8, 8, clBlack);
    const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    HGDIOBJ previous = ::SelectObject(dc.get(), target.Handle());
    const HGDIOBJ originalFont = ::GetCurrentObject(dc.get(), OBJ_FONT);
    const HGDIOBJ originalBrush = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    const HGDIOBJ originalPen = ::GetCurrentObject(dc.get(), OBJ_PEN);
    const COLORREF originalTextColor = ::GetTextColor(dc.get());
    {
        TCanvas canvas;
        canvas.SetHandle(dc.get());
        canvas.Font().SetColor(clRed);
        canvas.TextOut(0, 0, L"x");
        canvas.Rectangle(0, 0, 4, 4);
        const HFONT usedFont = canvas.Font().Handle();
        const HBRUSH usedBrush = canvas.Brush().Handle();
        const HPEN usedPen = canvas.Pen().Handle();
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), usedFont);

        canvas.Font().SetHeight(-20);
        canvas.Brush().SetColor(clBlue);
        canvas.Pen().SetColor(clBlue);
        EXPECT_EQ(::GetObjectType(usedFont), 0u);
        EXPECT_EQ(::GetObjectType(usedBrush), 0u);
        EXPECT_EQ(::GetObjectType(usedPen), 0u);

        canvas.Rectangle(0, 0, 4, 4);
        canvas.TextOut(0, 0, L"x");
        canvas.SetHandle(nullptr);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), originalFont);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), originalBrush);
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), originalPen);
        EXPECT_EQ(::GetTextColor(dc.get()), originalTextColor);
        // Detached, the canvas's own objects can be deleted: nobody holds them.
        const HFONT lastFont = canvas.Font().Handle();
        canvas.Font().SetHeight(-30);
        EXPECT_EQ(::GetObjectType(lastFont), 0u);
    }
    ::SelectObject(dc.get(), previous);
}

TEST(CanvasHandle, RepeatedPaintsLeakNothing) {
    const nestora::gui::testing::LiveHandles before;
    {
        TBitmap target;
        MakeFilled(target, 32, 32, clBlack);
        for (int i = 0; i < 1000; ++i) {
            TCanvas& c = target.Canvas();
            c.Font().SetHeight(-10 - i % 5);
            c.Brush().SetColor(RGBColor(i % 256, 0, 0));
            c.Pen().SetWidth(1 + i % 3);
            c.Rectangle(0, 0, 20, 20);
            c.TextOut(1, 1, L"leak?");
            // Taking the handle takes the bitmap out of the canvas's DC; the next draw
            // makes a new DC.
            EXPECT_NE(target.Handle(), nullptr);
        }
        TBitmap other;
        for (int i = 0; i < 200; ++i)
            other.Assign(target);
    }
    const nestora::gui::testing::LiveHandles after;
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
    if (before.processGdi > 0) {
        EXPECT_LE(after.processGdi, before.processGdi);
    }
}

} // namespace
