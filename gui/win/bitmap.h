#pragma once
// TBitmap: a picture of 24 or 32 bits per pixel held in a DIB section, with a canvas for
// drawing on it.
//
// Life story:
//   created   empty (0 by 0, 32 bits per pixel, not transparent).
//   filled    SetSize (pixels that still fit are kept, new ones are black), or loaded:
//             LoadFromResourceName (a BITMAP resource by name; EResNotFound "Resource
//             NAME not found" when the module has none), LoadFromMemory / LoadFromStream (a
//             complete BMP file, checked before use: EInvalidGraphic when malformed), or
//             Assign (a copy of another bitmap's pixels, never shared).
//   drawn on  through Canvas(), which makes a memory DC with the bitmap selected the first
//             time it is drawn on. Handle() gives the HBITMAP free to be selected elsewhere
//             (an image list, another DC): it takes the bitmap out of the canvas's DC first,
//             and the canvas puts it back at its next drawing call.
//   drawn     by a canvas (TCanvas::Draw / StretchDraw). A Transparent bitmap leaves out the
//             pixels of its TransparentColor: the colour of the bottom-left pixel
//             (tmAuto), or one that was set (tmFixed).
//   destroyed the canvas lets go of the bitmap, then the DIB section is deleted.
//
// Resizing, loading or assigning replaces the DIB: any HDC taken from the canvas and any
// HBITMAP taken from Handle() before that is stale afterwards.

#include "gui/win/graphics_win32.h"

#include "gui/core/bitmap_format.h"
#include "gui/core/class_info.h"
#include "gui/core/color.h"
#include "gui/win/graphics.h"
#include "gui/win/graphics_counters.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace nestora::gui {

class TCanvas;

// Does the module hold a BITMAP resource of that name?
bool HasBitmapResource(HINSTANCE instance, const std::wstring& name);
class TBitmapCanvas;
class TStream;

enum class TPixelFormat { pf24bit, pf32bit };
enum class TTransparentMode { tmAuto, tmFixed };
extern const EnumInfo kPixelFormatInfo;
extern const EnumInfo kTransparentModeInfo;

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !dib_; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Sizes of 0 make the bitmap empty; negative sizes and sizes beyond kMaxBitmapSide are
    // refused with EInvalidGraphic.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels (32 to 24 drops alpha; 24 to 32 gives alpha 0).
    void SetPixelFormat(TPixelFormat format);

    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);
    // tmAuto: the bottom-left pixel's colour (clNone when empty). tmFixed: the colour set.
    TColor TransparentColor() const;
    // Sets the colour and switches to tmFixed.
    void SetTransparentColor(TColor color);

    // The DIB section (null when empty), deselected from the canvas's DC.
    HBITMAP Handle() const;
    // Takes over a bitmap of any kind: its pixels are copied into a DIB section of this
    // bitmap's pixel format and the handle is deleted. An empty handle empties the bitmap.
    void SetHandle(UniqueBitmap bitmap);
    // Gives the DIB section away; the bitmap is empty afterwards.
    [[nodiscard]] UniqueBitmap ReleaseHandle();

    TCanvas& Canvas();

    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromMemory(std::span<const std::uint8_t> bmpFile);
    // Reads the stream to its end; one longer than the largest acceptable bitmap is refused.
    void LoadFromStream(TStream& stream);
    // A BMP file of the pixels (24 or 32 bits as PixelFormat). EInvalidGraphic when empty.
    std::vector<std::uint8_t> SaveToMemory() const;
    void SaveToStream(TStream& stream) const;
    // Takes decoded pixels (as read by gui/core/bitmap_format.h).
    void LoadDecoded(const DecodedBitmap& image);
    DecodedBitmap Decoded() const;

    // Pixel row y (0 at the top) of the DIB: Width() * 3 or * 4 bytes, blue first.
    // GDI drawing is flushed first; the pointer is valid until the DIB is replaced.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    int RowBytes() const;

    void Assign(const TPersistent& source) override;
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    friend class TBitmapCanvas;
    // A new DIB of that size and format, zero-filled; the canvas lets go of the old one.
    void NewDib(int width, int height, TPixelFormat format, CountedBitmap& dib, void*& bits) const;
    void ReplaceDib(CountedBitmap dib, void* bits, int width, int height, TPixelFormat format);
    void FreeCanvasContext() const;
    HDC SourceDC() const;

    CountedBitmap dib_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf32bit;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    TColor transparentColor_ = clNone;
    mutable std::unique_ptr<TBitmapCanvas> canvas_;
};

} // namespace nestora::gui
