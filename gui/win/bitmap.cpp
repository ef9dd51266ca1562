#include "gui/win/bitmap.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/stream.h"
#include "gui/core/text.h"
#include "gui/win/canvas.h"
#include "gui/win/graphics_color.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace nestora::gui {

const EnumInfo kPixelFormatInfo{"TPixelFormat", {"pf24bit", "pf32bit"}};
const EnumInfo kTransparentModeInfo{"TTransparentMode", {"tmAuto", "tmFixed"}};

namespace {

int BitsOf(TPixelFormat format) {
    return format == TPixelFormat::pf24bit ? 24 : 32;
}

int RowBytesOf(int width, TPixelFormat format) {
    return static_cast<int>(DibRowBytes(width, BitsOf(format)));
}

// Copies one row between the two formats (or the same one).
void ConvertRow(const std::uint8_t* from, TPixelFormat fromFormat, std::uint8_t* to,
                TPixelFormat toFormat, int width) {
    const int fromStep = BitsOf(fromFormat) / 8;
    const int toStep = BitsOf(toFormat) / 8;
    if (fromStep == toStep) {
        std::memcpy(to, from, static_cast<std::size_t>(width) * fromStep);
        return;
    }
    for (int x = 0; x < width; ++x) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        if (toStep == 4)
            to[3] = 0;
        from += fromStep;
        to += toStep;
    }
}

} // namespace

// The canvas of a bitmap: a memory DC made on demand with the bitmap selected into it.
class TBitmapCanvas final : public TCanvas {
public:
    explicit TBitmapCanvas(const TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    // Takes the bitmap out of the DC and deletes the DC; the next drawing call makes a new
    // one.
    void FreeContext() {
        if (!memoryDC_)
            return;
        ReleaseHandle();
        if (previousBitmap_)
            ::SelectObject(memoryDC_.get(), previousBitmap_);
        previousBitmap_ = nullptr;
        memoryDC_.reset();
    }

protected:
    void CreateHandle() override {
        FreeContext();
        CountedMemoryDC dc(::CreateCompatibleDC(nullptr));
        if (!dc)
            throw EOutOfResources(L"Cannot create a device context for a bitmap");
        if (bitmap_.dib_)
            previousBitmap_ = ::SelectObject(dc.get(), bitmap_.dib_.get());
        memoryDC_ = std::move(dc);
        AdoptHandle(memoryDC_.get());
    }

private:
    const TBitmap& bitmap_;
    CountedMemoryDC memoryDC_;
    HGDIOBJ previousBitmap_ = nullptr;
};

const ClassInfo& TBitmap::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TBitmap>("TBitmap", &TGraphic::StaticClassInfo())
            .Int("Width", &TBitmap::Width, &TBitmap::SetWidth)
            .Int("Height", &TBitmap::Height, &TBitmap::SetHeight)
            .Enum("PixelFormat", kPixelFormatInfo, &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
            .Bool("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
            .Color("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor)
            .Enum("TransparentMode", kTransparentModeInfo, &TBitmap::TransparentMode,
                  &TBitmap::SetTransparentMode)
            .Build();
    return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    // The DC lets go of the DIB before the DIB is deleted (members go after this body,
    // but canvas_ is declared after dib_ and so would go first anyway; say it plainly).
    FreeCanvasContext();
}

void TBitmap::FreeCanvasContext() const {
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::NewDib(int width, int height, TPixelFormat format, CountedBitmap& dib,
                     void*& bits) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BitsOf(format));
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    dib.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits)
        throw EOutOfResources(FormatText(L"Cannot create a bitmap of %s by %s pixels",
                                         {IntToStr(width), IntToStr(height)}));
}

void TBitmap::ReplaceDib(CountedBitmap dib, void* bits, int width, int height,
                         TPixelFormat format) {
    FreeCanvasContext();
    dib_ = std::move(dib);
    bits_ = bits;
    width_ = dib_ ? width : 0;
    height_ = dib_ ? height : 0;
    format_ = format;
    Changed();
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        throw EInvalidGraphic(
            FormatText(L"Invalid bitmap size %s by %s", {IntToStr(width), IntToStr(height)}));
    if (width == width_ && height == height_)
        return;
    if (width == 0 || height == 0) {
        ReplaceDib(CountedBitmap(), nullptr, 0, 0, format_);
        return;
    }
    CountedBitmap dib;
    void* bits = nullptr;
    NewDib(width, height, format_, dib, bits);
    if (dib_) {
        ::GdiFlush();
        const int rows = std::min(height, height_);
        const int columns = std::min(width, width_);
        const int step = BitsOf(format_) / 8;
        for (int y = 0; y < rows; ++y)
            std::memcpy(static_cast<std::uint8_t*>(bits) +
                            static_cast<std::size_t>(y) * RowBytesOf(width, format_),
                        ScanLine(y), static_cast<std::size_t>(columns) * step);
    }
    ReplaceDib(std::move(dib), bits, width, height, format_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_)
        return;
    if (!dib_) {
        format_ = format;
        Changed();
        return;
    }
    CountedBitmap dib;
    void* bits = nullptr;
    NewDib(width_, height_, format, dib, bits);
    ::GdiFlush();
    for (int y = 0; y < height_; ++y)
        ConvertRow(ScanLine(y), format_,
                   static_cast<std::uint8_t*>(bits) +
                       static_cast<std::size_t>(y) * RowBytesOf(width_, format),
                   format, width_);
    ReplaceDib(std::move(dib), bits, width_, height_, format);
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_)
        return;
    transparentMode_ = mode;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == TTransparentMode::tmFixed)
        return transparentColor_;
    if (!dib_)
        return clNone;
    const std::uint8_t* p = ScanLine(height_ - 1);
    return RGBColor(p[2], p[1], p[0]);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == transparentColor_ && transparentMode_ == TTransparentMode::tmFixed)
        return;
    transparentColor_ = color;
    transparentMode_ = TTransparentMode::tmFixed;
    Changed();
}

HBITMAP TBitmap::Handle() const {
    FreeCanvasContext();
    return dib_.get();
}

void TBitmap::SetHandle(UniqueBitmap bitmap) {
    if (!bitmap) {
        ReplaceDib(CountedBitmap(), nullptr, 0, 0, format_);
        return;
    }
    BITMAP described{};
    if (::GetObjectW(bitmap.get(), sizeof described, &described) == 0 || described.bmWidth <= 0 ||
        described.bmHeight == 0)
        throw EInvalidGraphic(L"Invalid bitmap handle");
    const int width = described.bmWidth;
    const int height = described.bmHeight < 0 ? -described.bmHeight : described.bmHeight;
    if (width > kMaxBitmapSide || height > kMaxBitmapSide)
        throw EInvalidGraphic(L"Invalid bitmap: it is too large");
    const TPixelFormat format = described.bmBitsPixel == 32 ? TPixelFormat::pf32bit : format_;
    CountedBitmap dib;
    void* bits = nullptr;
    NewDib(width, height, format, dib, bits);
    // GetDIBits converts whatever the source is into our layout.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(BitsOf(format));
    info.bmiHeader.biCompression = BI_RGB;
    const WindowDC screen = WindowDC::Client(nullptr);
    if (::GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(height), bits, &info,
                    DIB_RGB_COLORS) == 0)
        throw EInvalidGraphic(L"Invalid bitmap handle");
    bitmap.reset();
    ReplaceDib(std::move(dib), bits, width, height, format);
}

UniqueBitmap TBitmap::ReleaseHandle() {
    FreeCanvasContext();
    UniqueBitmap out(dib_.release());
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return out;
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return *canvas_;
}

HDC TBitmap::SourceDC() const {
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_->Handle();
}

int TBitmap::RowBytes() const {
    return RowBytesOf(width_, format_);
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (!dib_ || y < 0 || y >= height_)
        throw EInvalidGraphic(FormatText(L"Scan line %s is outside the bitmap", {IntToStr(y)}));
    ::GdiFlush();
    return static_cast<std::uint8_t*>(bits_) + static_cast<std::size_t>(y) * RowBytes();
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

void TBitmap::LoadDecoded(const DecodedBitmap& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        throw EInvalidGraphic(L"Invalid bitmap: it has no pixels");
    const TPixelFormat format =
        image.bitsPerPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    CountedBitmap dib;
    void* bits = nullptr;
    NewDib(image.width, image.height, format, dib, bits);
    const int rowBytes = RowBytesOf(image.width, format);
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* from = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::uint8_t* to =
            static_cast<std::uint8_t*>(bits) + static_cast<std::size_t>(y) * rowBytes;
        if (format == TPixelFormat::pf32bit) {
            std::memcpy(to, from, static_cast<std::size_t>(image.width) * 4);
            continue;
        }
        for (int x = 0; x < image.width; ++x, to += 3) {
            to[0] = static_cast<std::uint8_t>(from[x]);
            to[1] = static_cast<std::uint8_t>(from[x] >> 8);
            to[2] = static_cast<std::uint8_t>(from[x] >> 16);
        }
    }
    ReplaceDib(std::move(dib), bits, image.width, image.height, format);
}

DecodedBitmap TBitmap::Decoded() const {
    DecodedBitmap out;
    if (!dib_)
        return out;
    out.width = width_;
    out.height = height_;
    out.bitsPerPixel = BitsOf(format_);
    out.pixels.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* from = ScanLine(y);
        std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * width_;
        if (format_ == TPixelFormat::pf32bit) {
            std::memcpy(to, from, static_cast<std::size_t>(width_) * 4);
            continue;
        }
        for (int x = 0; x < width_; ++x, from += 3)
            to[x] = from[0] | (from[1] << 8) | (from[2] << 16);
    }
    return out;
}

namespace {

std::span<const std::uint8_t> ResourceBytes(HINSTANCE instance, HRSRC resource) {
    HGLOBAL loaded = ::LoadResource(instance, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(instance, resource);
    if (!data || size == 0)
        return {};
    return {static_cast<const std::uint8_t*>(data), size};
}

} // namespace

bool HasBitmapResource(HINSTANCE instance, const std::wstring& name) {
    return !name.empty() && ::FindResourceW(instance, name.c_str(), RT_BITMAP);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HRSRC resource = name.empty() ? nullptr : ::FindResourceW(instance, name.c_str(), RT_BITMAP);
    const auto bytes =
        resource ? ResourceBytes(instance, resource) : std::span<const std::uint8_t>();
    if (bytes.empty())
        throw EResNotFound(FormatText(L"Resource %s not found", {name}));
    DecodedBitmap image;
    try {
        image = DecodePackedDib(bytes);
    } catch (const EInvalidGraphic&) {
        // The decoder's reason names no resource; which picture is broken matters more.
        throw EInvalidGraphic(FormatText(L"Invalid bitmap: resource %s is damaged", {name}));
    }
    LoadDecoded(image);
}

void TBitmap::LoadFromMemory(std::span<const std::uint8_t> bmpFile) {
    LoadDecoded(DecodeBmpFile(bmpFile));
}

void TBitmap::LoadFromStream(TStream& stream) {
    // Read in pieces up to what the largest acceptable bitmap can take, so that a stream
    // of endless data is refused instead of swallowed.
    constexpr std::size_t kLimit = static_cast<std::size_t>(kMaxBitmapPixels) * 4 + 65536;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> chunk(65536);
    for (;;) {
        const std::size_t got = stream.Read(chunk);
        if (got == 0)
            break;
        if (bytes.size() + got > kLimit)
            throw EInvalidGraphic(L"Invalid bitmap: it is too large");
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    LoadFromMemory(bytes);
}

std::vector<std::uint8_t> TBitmap::SaveToMemory() const {
    return EncodeBmpFile(Decoded());
}

void TBitmap::SaveToStream(TStream& stream) const {
    stream.Write(SaveToMemory());
}

void TBitmap::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TBitmap*>(&source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    transparentMode_ = other->transparentMode_;
    transparentColor_ = other->transparentColor_;
    TGraphic::SetTransparent(other->Transparent());
    if (!other->dib_) {
        ReplaceDib(CountedBitmap(), nullptr, 0, 0, other->format_);
        return;
    }
    CountedBitmap dib;
    void* bits = nullptr;
    NewDib(other->width_, other->height_, other->format_, dib, bits);
    ::GdiFlush();
    std::memcpy(bits, other->bits_,
                static_cast<std::size_t>(other->RowBytes()) *
                    static_cast<std::size_t>(other->height_));
    ReplaceDib(std::move(dib), bits, other->width_, other->height_, other->format_);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    if (!dib_ || rect.IsEmpty())
        return;
    HDC source = SourceDC();
    HDC dest = canvas.Handle();
    if (Transparent()) {
        // gdi32's own export: msimg32, which also has it, is no known DLL (see app/main.cpp).
        ::GdiTransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0,
                            width_, height_, ColorToRGB(TransparentColor()));
        return;
    }
    if (rect.Width() == width_ && rect.Height() == height_) {
        ::BitBlt(dest, rect.Left, rect.Top, width_, height_, source, 0, 0, canvas.CopyMode());
        return;
    }
    const int oldMode = ::SetStretchBltMode(dest, COLORONCOLOR);
    ::StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width_,
                 height_, canvas.CopyMode());
    if (oldMode)
        ::SetStretchBltMode(dest, oldMode);
}

} // namespace nestora::gui
