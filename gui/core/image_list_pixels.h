#pragma once
// The pixel work of image lists, without windows.h: cutting a picture into images, masks
// from a transparent colour, and the greyed look of disabled images.
//
// Pixels are 0xAARRGGBB (the byte order of a 32-bit DIB), rows top to bottom. A mask has
// one byte per pixel: 1 where the image is transparent.
//
// Disabled images: every opaque pixel becomes a light grey of its own brightness
// (grey = 128 + luminance / 2, so dark details stay visible and everything is paler than
// any enabled image's dark parts); transparent pixels stay transparent and alpha is kept.

#include <cstdint>
#include <span>
#include <vector>

namespace nestora::gui {

struct ImagePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // width * height
    std::vector<std::uint8_t> mask;    // width * height, 1 = transparent
};

// Image `index` of a picture cut into cells of cellWidth by cellHeight from the top-left,
// side by side. Parts of a cell beyond the picture are transparent.
ImagePixels CutImage(std::span<const std::uint32_t> picture, int pictureWidth, int pictureHeight,
                     int index, int cellWidth, int cellHeight);
// How many cells of cellWidth a picture this wide holds (at least 1 for any picture).
int ImageCount(int pictureWidth, int cellWidth);

// Marks the pixels whose colour (alpha ignored) is rgb (0x00RRGGBB) transparent.
void MaskColor(ImagePixels& image, std::uint32_t rgb);
// Marks the pixels where the mask picture is not black transparent.
void MaskFromPicture(ImagePixels& image, std::span<const std::uint32_t> maskPicture, int maskWidth,
                     int maskHeight);
// Transparent pixels become 0: the mask-and-paint drawing of image lists needs black
// there.
void BlackenTransparent(ImagePixels& image);
// True when some pixel carries alpha (then alpha, not the mask, decides).
bool HasAlpha(const ImagePixels& image);

std::uint32_t DisabledPixel(std::uint32_t pixel);
ImagePixels DisabledImage(const ImagePixels& image);

// Rows of a monochrome bitmap for the mask (1 bit per pixel, rows padded to 16 bits, as
// CreateBitmap wants them).
std::vector<std::uint8_t> MonochromeMaskBits(const ImagePixels& image);

} // namespace nestora::gui
