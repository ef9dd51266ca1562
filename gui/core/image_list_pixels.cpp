#include "gui/core/image_list_pixels.h"

#include <algorithm>

namespace nestora::gui {

int ImageCount(int pictureWidth, int cellWidth) {
    if (cellWidth <= 0)
        return 0;
    return std::max(1, pictureWidth / cellWidth);
}

ImagePixels CutImage(std::span<const std::uint32_t> picture, int pictureWidth, int pictureHeight,
                     int index, int cellWidth, int cellHeight) {
    ImagePixels out;
    if (cellWidth <= 0 || cellHeight <= 0)
        return out;
    out.width = cellWidth;
    out.height = cellHeight;
    const std::size_t count = static_cast<std::size_t>(cellWidth) * cellHeight;
    out.pixels.assign(count, 0);
    out.mask.assign(count, 1);
    const bool pictureOk = pictureWidth > 0 && pictureHeight > 0 &&
                           picture.size() >= static_cast<std::size_t>(pictureWidth) * pictureHeight;
    if (!pictureOk || index < 0)
        return out;
    const long long left = static_cast<long long>(index) * cellWidth;
    for (int y = 0; y < cellHeight && y < pictureHeight; ++y) {
        for (int x = 0; x < cellWidth; ++x) {
            const long long sx = left + x;
            if (sx >= pictureWidth)
                break;
            const std::size_t to = static_cast<std::size_t>(y) * cellWidth + x;
            out.pixels[to] =
                picture[static_cast<std::size_t>(y) * pictureWidth + static_cast<std::size_t>(sx)];
            out.mask[to] = 0;
        }
    }
    return out;
}

void MaskColor(ImagePixels& image, std::uint32_t rgb) {
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        if ((image.pixels[i] & 0x00FFFFFFu) == (rgb & 0x00FFFFFFu))
            image.mask[i] = 1;
}

void MaskFromPicture(ImagePixels& image, std::span<const std::uint32_t> maskPicture, int maskWidth,
                     int maskHeight) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (x >= maskWidth || y >= maskHeight)
                continue;
            const std::size_t from = static_cast<std::size_t>(y) * maskWidth + x;
            if (from < maskPicture.size() && (maskPicture[from] & 0x00FFFFFFu) != 0)
                image.mask[static_cast<std::size_t>(y) * image.width + x] = 1;
        }
}

void BlackenTransparent(ImagePixels& image) {
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        if (image.mask[i])
            image.pixels[i] = 0;
}

bool HasAlpha(const ImagePixels& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(),
                       [](std::uint32_t p) { return (p >> 24) != 0; });
}

std::uint32_t DisabledPixel(std::uint32_t pixel) {
    const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const std::uint32_t luminance = (299 * r + 587 * g + 114 * b) / 1000;
    const std::uint32_t grey = 128 + luminance / 2;
    return (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

ImagePixels DisabledImage(const ImagePixels& image) {
    ImagePixels out = image;
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        if (!out.mask[i])
            out.pixels[i] = DisabledPixel(out.pixels[i]);
    return out;
}

std::vector<std::uint8_t> MonochromeMaskBits(const ImagePixels& image) {
    const int rowBytes = (image.width + 15) / 16 * 2;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowBytes) * image.height, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.mask[static_cast<std::size_t>(y) * image.width + x])
                bits[static_cast<std::size_t>(y) * rowBytes + x / 8] |=
                    static_cast<std::uint8_t>(0x80u >> (x % 8));
    return bits;
}

} // namespace nestora::gui
