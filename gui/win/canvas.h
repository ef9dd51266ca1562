#pragma once
// TCanvas: drawing on a device context with a font, a pen and a brush.
//
// Two kinds of canvas:
//   - over a DC someone else owns (a WM_PAINT DC, an owner-draw DC, a GetDC): SetHandle(dc)
//     attaches, SetHandle(nullptr) or the canvas's end detaches. While attached the canvas
//     selects its own font, pen and brush as drawing needs them; detaching puts back
//     everything the DC had (RestoreDC of the state saved when attaching).
//   - one that makes its own DC when first drawn on (a bitmap's canvas, a memory DC):
//     subclasses override CreateHandle() and give the DC with AdoptHandle().
//
// Selected objects are always deselected before they are destroyed: when the font, pen or
// brush changes, the canvas hears of it (their OnChange) while the old GDI object still
// exists and selects a stock object in its place; the new one is selected at the next
// drawing call.
//
// Coordinates are the DC's logical coordinates. Rectangles exclude their right and bottom
// edges.

#include "gui/win/graphics_win32.h"

#include "gui/core/color.h"
#include "gui/core/graphics_geometry.h"
#include "gui/core/object.h"
#include "gui/win/brush.h"
#include "gui/win/font.h"
#include "gui/win/pen.h"

#include <span>
#include <string>
#include <string_view>

namespace nestora::gui {

class TGraphic;

RECT ToRECT(const TRect& r);
TRect FromRECT(const RECT& r);

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Attaches to a DC owned elsewhere (null detaches). The DC's state is saved now and
    // restored when the canvas lets go of it.
    void SetHandle(HDC dc);
    // The DC, made now if this kind of canvas makes its own; EInvalidOperation otherwise.
    HDC Handle();
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    const TFont& Font() const { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }

    // Raster operation of Draw, StretchDraw of bitmaps and CopyRect (SRCCOPY by default).
    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD rop) { copyMode_ = rop; }

    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);

    void FillRect(const TRect& rect);
    // A frame one pixel wide, in the brush.
    void FrameRect(const TRect& rect);
    // Outline in the pen, inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }

    // Text in the font's colour; behind it a box of the brush's colour when the brush is
    // solid, nothing otherwise (clear, hatched or pattern brushes).
    void TextOut(int x, int y, std::wstring_view text);
    // TextOut clipped to rect.
    void TextRect(const TRect& rect, int x, int y, std::wstring_view text);
    TSize TextExtent(std::wstring_view text);
    int TextWidth(std::wstring_view text) { return TextExtent(text).Width; }
    int TextHeight(std::wstring_view text) { return TextExtent(text).Height; }
    // DrawTextW with the given DT_ flags (DT_MODIFYSTRING is ignored: the text is not
    // ours to change). rect is updated with DT_CALCRECT. Returns the text's height.
    int DrawText(std::wstring_view text, TRect& rect, unsigned flags);

    // A graphic at its own size with its top-left corner at (x, y).
    void Draw(int x, int y, const TGraphic& graphic);
    // A graphic scaled into rect.
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies source's sourceRect into dest, scaled, with CopyMode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    // The colour of one pixel (clNone outside the surface) and setting it.
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // The part of the surface that drawing can reach.
    TRect ClipRect();

protected:
    // Makes the DC of a canvas that owns one; the base has none to make and raises
    // EInvalidOperation.
    virtual void CreateHandle();
    // Called by CreateHandle implementations: the canvas draws on dc from now on (its state
    // is saved like an attached DC's; the subclass still owns and deletes it).
    void AdoptHandle(HDC dc);
    // Lets go of the DC (restoring its state) without deleting it.
    void ReleaseHandle();

private:
    enum StateFlag : unsigned { kFont = 1, kPen = 2, kBrush = 4 };
    HDC RequiredState(unsigned state);
    void DeselectFont();
    void DeselectPen();
    void DeselectBrush();

    HDC dc_ = nullptr;
    int savedState_ = 0;
    unsigned selected_ = 0;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    TPoint penPos_;
    DWORD copyMode_ = SRCCOPY;
};

} // namespace nestora::gui
