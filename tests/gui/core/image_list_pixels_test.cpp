// Image-list pixel work: cutting strips into images, masks, and the disabled look.
#include "gui/core/image_list_pixels.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

TEST(ImageListPixels, AStripIsCutIntoCellsAndShortPartsAreTransparent) {
    // A 5 by 2 picture cut into 2 by 2 cells: two whole cells, the fifth column dropped.
    const std::vector<std::uint32_t> picture = {1, 2, 3, 4, 5, 11, 12, 13, 14, 15};
    EXPECT_EQ(ImageCount(5, 2), 2);
    EXPECT_EQ(ImageCount(1, 16), 1); // a narrow picture still gives one (padded) image
    EXPECT_EQ(ImageCount(5, 0), 0);
    const ImagePixels second = CutImage(picture, 5, 2, 1, 2, 2);
    EXPECT_EQ(second.pixels, (std::vector<std::uint32_t>{3, 4, 13, 14}));
    EXPECT_EQ(second.mask, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    // A cell reaching past the picture: the missing pixels are transparent.
    const ImagePixels third = CutImage(picture, 5, 2, 2, 2, 3);
    EXPECT_EQ(third.pixels, (std::vector<std::uint32_t>{5, 0, 15, 0, 0, 0}));
    EXPECT_EQ(third.mask, (std::vector<std::uint8_t>{0, 1, 0, 1, 1, 1}));
    // A picture shorter than its claimed size is not read past.
    const ImagePixels lying = CutImage(std::span(picture).first(3), 5, 2, 0, 2, 2);
    EXPECT_EQ(lying.mask, (std::vector<std::uint8_t>{1, 1, 1, 1}));
}

TEST(ImageListPixels, MasksFromAColourAndFromAPicture) {
    ImagePixels image =
        CutImage(std::vector<std::uint32_t>{0xFF00FF, 0x123456, 0x80FF00FFu, 7}, 2, 2, 0, 2, 2);
    MaskColor(image, 0xFF00FF);
    EXPECT_EQ(image.mask, (std::vector<std::uint8_t>{1, 0, 1, 0})); // alpha is no colour
    BlackenTransparent(image);
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0, 0x123456, 0, 7}));

    ImagePixels other = CutImage(std::vector<std::uint32_t>{1, 2, 3, 4}, 2, 2, 0, 2, 2);
    MaskFromPicture(other, std::vector<std::uint32_t>{0, 0xFFFFFF, 0, 0}, 2, 2);
    EXPECT_EQ(other.mask, (std::vector<std::uint8_t>{0, 1, 0, 0}));
    // A mask picture smaller than the image masks only what it covers.
    MaskFromPicture(other, std::vector<std::uint32_t>{0xFFFFFF}, 1, 1);
    EXPECT_EQ(other.mask, (std::vector<std::uint8_t>{1, 1, 0, 0}));
}

TEST(ImageListPixels, DisabledImagesArePaleGreysAndKeepTransparency) {
    EXPECT_EQ(DisabledPixel(0x000000), 0x808080u);
    EXPECT_EQ(DisabledPixel(0xFFFFFF), 0xFFFFFFu);
    const std::uint32_t red = DisabledPixel(0xFF0000);
    EXPECT_EQ(red & 0xFF, (red >> 8) & 0xFF);
    EXPECT_EQ(red & 0xFF, (red >> 16) & 0xFF);
    EXPECT_EQ(DisabledPixel(0x7F00FF00u) >> 24, 0x7Fu); // alpha kept
    // Different colours stay distinguishable.
    EXPECT_NE(DisabledPixel(0x202020), DisabledPixel(0xE0E0E0));

    ImagePixels image = CutImage(std::vector<std::uint32_t>{0x0000FF, 0}, 2, 1, 0, 2, 1);
    image.mask[1] = 1;
    const ImagePixels disabled = DisabledImage(image);
    EXPECT_NE(disabled.pixels[0], image.pixels[0]);
    EXPECT_EQ(disabled.pixels[1], 0u);
    EXPECT_EQ(disabled.mask, image.mask);
    EXPECT_FALSE(HasAlpha(image));
    image.pixels[0] |= 0x01000000u;
    EXPECT_TRUE(HasAlpha(image));
}

TEST(ImageListPixels, MonochromeMaskRowsArePaddedToSixteenBits) {
    ImagePixels image;
    image.width = 17;
    image.height = 2;
    image.pixels.assign(34, 0);
    image.mask.assign(34, 0);
    image.mask[0] = 1;      // row 0, x 0
    image.mask[16] = 1;     // row 0, x 16
    image.mask[17 + 9] = 1; // row 1, x 9
    const std::vector<std::uint8_t> bits = MonochromeMaskBits(image);
    ASSERT_EQ(bits.size(), 8u); // 4 bytes per row
    EXPECT_EQ(bits[0], 0x80);
    EXPECT_EQ(bits[2], 0x80);
    EXPECT_EQ(bits[4 + 1], 0x40);
    EXPECT_EQ(bits[1] | bits[3] | bits[4] | bits[6] | bits[7], 0);
}

} // namespace
