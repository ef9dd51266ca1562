#include "gui/win/canvas.h"

#include "gui/core/exceptions.h"
#include "gui/win/graphics.h"
#include "gui/win/graphics_color.h"

#include <climits>
#include <vector>

namespace nestora::gui {

namespace {

int TextLength(std::wstring_view text) {
    return text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                           : static_cast<int>(text.size());
}

std::vector<POINT> ToPOINTs(std::span<const TPoint> points) {
    std::vector<POINT> out;
    out.reserve(points.size());
    for (const TPoint& p : points)
        out.push_back(POINT{p.X, p.Y});
    return out;
}

} // namespace

RECT ToRECT(const TRect& r) {
    return RECT{r.Left, r.Top, r.Right, r.Bottom};
}
TRect FromRECT(const RECT& r) {
    return TRect{r.left, r.top, r.right, r.bottom};
}

TCanvas::TCanvas() {
    font_.SetOnChange([this](TObject*) { DeselectFont(); });
    pen_.SetOnChange([this](TObject*) { DeselectPen(); });
    brush_.SetOnChange([this](TObject*) { DeselectBrush(); });
}

TCanvas::~TCanvas() {
    // The DC lets go of font, pen and brush before they go (they are members, destroyed
    // after this body).
    ReleaseHandle();
    font_.SetOnChange(nullptr);
    pen_.SetOnChange(nullptr);
    brush_.SetOnChange(nullptr);
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_)
        return;
    ReleaseHandle();
    if (dc)
        AdoptHandle(dc);
}

HDC TCanvas::Handle() {
    if (!dc_)
        CreateHandle();
    if (!dc_)
        throw EInvalidOperation(L"Canvas does not allow drawing");
    return dc_;
}

void TCanvas::CreateHandle() {
    throw EInvalidOperation(L"Canvas does not allow drawing");
}

void TCanvas::AdoptHandle(HDC dc) {
    ReleaseHandle();
    dc_ = dc;
    savedState_ = ::SaveDC(dc);
    selected_ = 0;
    POINT p{};
    if (::GetCurrentPositionEx(dc, &p))
        penPos_ = TPoint{p.x, p.y};
}

void TCanvas::ReleaseHandle() {
    if (!dc_)
        return;
    // Stock objects first, so nothing of ours stays selected even if RestoreDC fails.
    if (selected_ & kFont)
        ::SelectObject(dc_, ::GetStockObject(SYSTEM_FONT));
    if (selected_ & kPen)
        ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    if (selected_ & kBrush)
        ::SelectObject(dc_, ::GetStockObject(WHITE_BRUSH));
    if (savedState_ != 0)
        ::RestoreDC(dc_, savedState_);
    dc_ = nullptr;
    savedState_ = 0;
    selected_ = 0;
}

void TCanvas::DeselectFont() {
    if (dc_ && (selected_ & kFont))
        ::SelectObject(dc_, ::GetStockObject(SYSTEM_FONT));
    selected_ &= ~kFont;
}

void TCanvas::DeselectPen() {
    if (dc_ && (selected_ & kPen))
        ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    selected_ &= ~kPen;
}

void TCanvas::DeselectBrush() {
    if (dc_ && (selected_ & kBrush))
        ::SelectObject(dc_, ::GetStockObject(WHITE_BRUSH));
    selected_ &= ~kBrush;
}

HDC TCanvas::RequiredState(unsigned state) {
    HDC dc = Handle();
    const unsigned missing = state & ~selected_;
    if (missing & kFont) {
        ::SelectObject(dc, font_.Handle());
        ::SetTextColor(dc, ColorToRGB(font_.Color()));
        selected_ |= kFont;
    }
    if (missing & kPen) {
        ::SelectObject(dc, pen_.Handle());
        selected_ |= kPen;
    }
    if (missing & kBrush) {
        ::SelectObject(dc, brush_.Handle());
        if (brush_.Style() == TBrushStyle::bsSolid && !brush_.Bitmap()) {
            ::SetBkColor(dc, ColorToRGB(brush_.Color()));
            ::SetBkMode(dc, OPAQUE);
        } else {
            // Hatches show the background between their lines, and text drawn with such a
            // brush has no box behind it. (Some systems draw no hatch at all when the
            // background colour equals the brush's, hence the inverse.)
            ::SetBkColor(dc, ~ColorToRGB(brush_.Color()) & 0x00FFFFFFu);
            ::SetBkMode(dc, TRANSPARENT);
        }
        selected_ |= kBrush;
    }
    return dc;
}

void TCanvas::MoveTo(int x, int y) {
    ::MoveToEx(Handle(), x, y, nullptr);
    penPos_ = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y) {
    HDC dc = RequiredState(kPen | kBrush);
    ::MoveToEx(dc, penPos_.X, penPos_.Y, nullptr);
    ::LineTo(dc, x, y);
    penPos_ = TPoint{x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty())
        return;
    HDC dc = RequiredState(kPen | kBrush);
    const std::vector<POINT> p = ToPOINTs(points);
    ::Polyline(dc, p.data(), static_cast<int>(p.size()));
    penPos_ = points.back();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2)
        return;
    HDC dc = RequiredState(kPen | kBrush);
    const std::vector<POINT> p = ToPOINTs(points);
    ::Polygon(dc, p.data(), static_cast<int>(p.size()));
}

void TCanvas::FillRect(const TRect& rect) {
    HDC dc = RequiredState(kBrush);
    const RECT r = ToRECT(rect);
    ::FillRect(dc, &r, brush_.Handle());
}

void TCanvas::FrameRect(const TRect& rect) {
    HDC dc = RequiredState(kBrush);
    const RECT r = ToRECT(rect);
    ::FrameRect(dc, &r, brush_.Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    ::Rectangle(RequiredState(kPen | kBrush), left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth,
                        int cornerHeight) {
    ::RoundRect(RequiredState(kPen | kBrush), left, top, right, bottom, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    ::Ellipse(RequiredState(kPen | kBrush), left, top, right, bottom);
}

void TCanvas::TextOut(int x, int y, std::wstring_view text) {
    HDC dc = RequiredState(kFont | kBrush);
    ::ExtTextOutW(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(TextLength(text)), nullptr);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::wstring_view text) {
    HDC dc = RequiredState(kFont | kBrush);
    const RECT r = ToRECT(rect);
    UINT options = ETO_CLIPPED;
    if (brush_.Style() != TBrushStyle::bsClear)
        options |= ETO_OPAQUE;
    ::ExtTextOutW(dc, x, y, options, &r, text.data(), static_cast<UINT>(TextLength(text)), nullptr);
}

TSize TCanvas::TextExtent(std::wstring_view text) {
    HDC dc = RequiredState(kFont);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), TextLength(text), &size);
    return TSize{size.cx, size.cy};
}

int TCanvas::DrawText(std::wstring_view text, TRect& rect, unsigned flags) {
    HDC dc = RequiredState(kFont | kBrush);
    RECT r = ToRECT(rect);
    const int height = ::DrawTextW(dc, text.data(), TextLength(text), &r,
                                   flags & ~static_cast<unsigned>(DT_MODIFYSTRING));
    if (flags & DT_CALCRECT)
        rect = FromRECT(r);
    return height;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty())
        return;
    graphic.Draw(*this, BoundsRect(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (graphic.Empty())
        return;
    graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    HDC from = source.Handle();
    HDC to = RequiredState(kBrush);
    ::StretchBlt(to, dest.Left, dest.Top, dest.Width(), dest.Height(), from, sourceRect.Left,
                 sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
}

TColor TCanvas::Pixel(int x, int y) {
    return ColorFromRGB(::GetPixel(Handle(), x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    ::SetPixelV(Handle(), x, y, ColorToRGB(color));
}

TRect TCanvas::ClipRect() {
    RECT r{};
    ::GetClipBox(Handle(), &r);
    return FromRECT(r);
}

} // namespace nestora::gui
