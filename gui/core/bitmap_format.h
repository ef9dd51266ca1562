#pragma once
// Reading and writing the Windows bitmap format (BMP files and the packed DIBs that BITMAP
// resources hold) into plain 32-bit pixels, without windows.h.
//
// Everything read from a file or a resource is distrusted: sizes, offsets, palette counts
// and masks are checked against the bytes actually present before a single pixel is read,
// and a malformed bitmap is refused with EInvalidGraphic naming the fault — never a read
// out of bounds, never a huge allocation. Read: 1, 4, 8, 16, 24 and 32 bits per pixel,
// BI_RGB and BI_BITFIELDS, bottom-up and top-down, BI_RLE8 and BI_RLE4 (bottom-up), OS/2
// core headers and the V4/V5 headers. Refused: embedded JPEG/PNG compression.

#include "gui/core/exceptions.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace nestora::gui {

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

// Limits far beyond any picture of a desktop utility, and low enough that a lying header
// cannot make us allocate gigabytes.
constexpr int kMaxBitmapSide = 16384;
constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 26;

struct DecodedBitmap {
    int width = 0;
    int height = 0;
    // 32 when the source had 32 bits per pixel (its fourth byte kept as alpha), else 24.
    int bitsPerPixel = 24;
    // width * height pixels, top row first, each 0xAARRGGBB (alpha 0 for 24-bit sources):
    // the byte order of a 32-bit DIB in memory.
    std::vector<std::uint32_t> pixels;
};

// A complete BMP file: BITMAPFILEHEADER ("BM"), then a packed DIB.
DecodedBitmap DecodeBmpFile(std::span<const std::uint8_t> file);
// A packed DIB (header, masks, colour table, pixels), as in a BITMAP resource.
DecodedBitmap DecodePackedDib(std::span<const std::uint8_t> dib);
// A BMP file of 24 or 32 bits per pixel (as bitmap.bitsPerPixel), bottom-up, BI_RGB.
std::vector<std::uint8_t> EncodeBmpFile(const DecodedBitmap& bitmap);

// Bytes of one row of a DIB: width * bitsPerPixel rounded up to whole 32-bit words.
std::int64_t DibRowBytes(std::int64_t width, int bitsPerPixel);

} // namespace nestora::gui
