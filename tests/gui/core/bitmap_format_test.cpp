// Reading BMP files and packed DIBs: every pixel format the reader accepts, and refusal of
// malformed data with an error instead of a read outside the bytes (run under
// AddressSanitizer natively).
#include "gui/core/bitmap_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace nestora::gui;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BITMAPINFOHEADER (40 bytes).
Bytes InfoHeader(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                 std::uint32_t colorsUsed = 0) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    Put32(b, compression);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, colorsUsed);
    Put32(b, 0);
    return b;
}

// A BMP file around a packed DIB whose pixels start after `tables` bytes.
Bytes FileAround(const Bytes& dib, std::size_t tables) {
    Bytes b{'B', 'M'};
    Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(14 + tables));
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(BitmapFormat, TwentyFourBitBottomUpWithRowPadding) {
    // 3 by 2: each row 9 bytes + 3 padding. Bottom row first in the data.
    const Bytes pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,  // bottom row
                          10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0}; // top row
    const DecodedBitmap image =
        DecodeBmpFile(FileAround(Concat({InfoHeader(3, 2, 24), pixels}), 40));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.pixels[0], 0x000C0B0Au); // top-left: B=10 G=11 R=12
    EXPECT_EQ(image.pixels[5], 0x00090807u); // bottom-right
}

TEST(BitmapFormat, TopDownThirtyTwoBitKeepsAlpha) {
    const Bytes pixels = {1, 2, 3, 0x80, 4, 5, 6, 0xFF};
    const DecodedBitmap image = DecodePackedDib(Concat({InfoHeader(1, -2, 32), pixels}));
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(image.pixels[0], 0x80030201u);
    EXPECT_EQ(image.pixels[1], 0xFF060504u);
}

TEST(BitmapFormat, PalettedPixelsOfOneFourAndEightBits) {
    const Bytes palette = {0, 0, 255, 0, 0, 255, 0, 0}; // red, green
    // 1 bit: 10 pixels, pattern 1010000001 -> bytes 0xA0 0x40, padded to 4.
    const DecodedBitmap one =
        DecodePackedDib(Concat({InfoHeader(10, 1, 1, 0, 2), palette, Bytes{0xA0, 0x40, 0, 0}}));
    EXPECT_EQ(one.pixels[0], 0x00FF00u);
    EXPECT_EQ(one.pixels[1], 0xFF0000u);
    EXPECT_EQ(one.pixels[2], 0x00FF00u);
    EXPECT_EQ(one.pixels[9], 0x00FF00u);
    // 4 bits: nibbles high first.
    const DecodedBitmap four =
        DecodePackedDib(Concat({InfoHeader(3, 1, 4, 0, 2), palette, Bytes{0x01, 0x10, 0, 0}}));
    EXPECT_EQ(four.pixels[0], 0xFF0000u);
    EXPECT_EQ(four.pixels[1], 0x00FF00u);
    EXPECT_EQ(four.pixels[2], 0x00FF00u);
    // 8 bits, with an index past the table: black, never a read past it.
    const DecodedBitmap eight =
        DecodePackedDib(Concat({InfoHeader(3, 1, 8, 0, 2), palette, Bytes{1, 0, 200, 0}}));
    EXPECT_EQ(eight.pixels[0], 0x00FF00u);
    EXPECT_EQ(eight.pixels[1], 0xFF0000u);
    EXPECT_EQ(eight.pixels[2], 0x000000u);
}

TEST(BitmapFormat, SixteenBitsAsFiveFiveFiveAndThroughMasks) {
    // 5-5-5: pure red is 0x7C00.
    const DecodedBitmap rgb555 =
        DecodePackedDib(Concat({InfoHeader(1, 1, 16), Bytes{0x00, 0x7C, 0, 0}}));
    EXPECT_EQ(rgb555.pixels[0], 0xFF0000u);
    // 5-6-5 through BI_BITFIELDS masks after the header: pure green is 0x07E0.
    Bytes masks;
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    Put32(masks, 0x001F);
    const DecodedBitmap rgb565 =
        DecodePackedDib(Concat({InfoHeader(1, 1, 16, 3), masks, Bytes{0xE0, 0x07, 0, 0}}));
    EXPECT_EQ(rgb565.pixels[0], 0x00FF00u);
}

TEST(BitmapFormat, CoreHeaderWithThreeByteColourTable) {
    Bytes dib;
    Put32(dib, 12);
    Put16(dib, 2);
    Put16(dib, 1);
    Put16(dib, 1);
    Put16(dib, 1);
    const Bytes palette = {0, 0, 0, 255, 255, 255};
    const DecodedBitmap image = DecodePackedDib(Concat({dib, palette, Bytes{0x40, 0, 0, 0}}));
    EXPECT_EQ(image.pixels[0], 0x000000u);
    EXPECT_EQ(image.pixels[1], 0xFFFFFFu);
}

TEST(BitmapFormat, EncodingReadsBackPixelForPixel) {
    DecodedBitmap image;
    image.width = 5;
    image.height = 3;
    for (int bits : {24, 32}) {
        image.bitsPerPixel = bits;
        image.pixels.clear();
        for (int i = 0; i < 15; ++i)
            image.pixels.push_back(
                static_cast<std::uint32_t>(i * 0x010203 + (bits == 32 ? i << 24 : 0)));
        const DecodedBitmap back = DecodeBmpFile(EncodeBmpFile(image));
        EXPECT_EQ(back.width, 5);
        EXPECT_EQ(back.height, 3);
        EXPECT_EQ(back.bitsPerPixel, bits);
        EXPECT_EQ(back.pixels, image.pixels);
    }
    EXPECT_THROW(EncodeBmpFile(DecodedBitmap{}), EInvalidGraphic);
}

TEST(BitmapFormat, MalformedDataIsRefusedWithAReason) {
    const Bytes good = FileAround(Concat({InfoHeader(2, 2, 24), Bytes(16, 0)}), 40);
    EXPECT_NO_THROW(DecodeBmpFile(good));

    const auto refuses = [](const Bytes& b) {
        try {
            DecodeBmpFile(b);
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message().rfind(L"Invalid bitmap: ", 0), 0u);
            return true;
        }
        return false;
    };
    EXPECT_TRUE(refuses({}));
    EXPECT_TRUE(refuses({'B', 'M'}));
    Bytes notBm = good;
    notBm[0] = 'P';
    EXPECT_TRUE(refuses(notBm));
    // Every truncation of a good file is refused, never read past — except one that only
    // loses the last row's two bytes of padding (tolerated, see below).
    for (std::size_t n = 0; n + 2 < good.size(); ++n)
        EXPECT_TRUE(refuses(Bytes(good.begin(), good.begin() + static_cast<long>(n)))) << n;

    Bytes offsetPastEnd = good;
    Set32(offsetPastEnd, 10, 0xFFFFFFF0u);
    EXPECT_TRUE(refuses(offsetPastEnd));
    Bytes offsetIntoHeader = good;
    Set32(offsetIntoHeader, 10, 20);
    EXPECT_TRUE(refuses(offsetIntoHeader));
    Bytes unknownHeader = good;
    Set32(unknownHeader, 14, 41);
    EXPECT_TRUE(refuses(unknownHeader));
    Bytes huge = good;
    Set32(huge, 18, 0x7FFFFFFF);
    Set32(huge, 22, 0x7FFFFFFF);
    EXPECT_TRUE(refuses(huge));
    Bytes zeroWidth = good;
    Set32(zeroWidth, 18, 0);
    EXPECT_TRUE(refuses(zeroWidth));
    // Run-length pixels: the data ends before the last row; stored top-down; the wrong kind
    // for the bits per pixel.
    EXPECT_TRUE(refuses(
        FileAround(Concat({InfoHeader(2, 2, 8, 1, 1), Bytes(4, 0), Bytes{2, 0, 0, 0}}), 44)));
    EXPECT_TRUE(
        refuses(FileAround(Concat({InfoHeader(2, -2, 8, 1, 1), Bytes(4, 0), Bytes{0, 1}}), 44)));
    EXPECT_TRUE(
        refuses(FileAround(Concat({InfoHeader(2, 2, 4, 1, 1), Bytes(4, 0), Bytes{0, 1}}), 44)));
    Bytes oddBits = FileAround(Concat({InfoHeader(2, 2, 7), Bytes(16, 0)}), 40);
    EXPECT_TRUE(refuses(oddBits));
    Bytes twoPlanes = good;
    twoPlanes[14 + 12] = 2;
    EXPECT_TRUE(refuses(twoPlanes));
    // A colour table larger than the pixel size allows, or one that runs past the data.
    EXPECT_TRUE(refuses(FileAround(Concat({InfoHeader(1, 1, 1, 0, 3), Bytes(12 + 4, 0)}), 52)));
    EXPECT_TRUE(
        refuses(FileAround(Concat({InfoHeader(1, 1, 24, 0, 0x40000000), Bytes(4, 0)}), 40)));
    // Masks are only for 16 and 32 bits.
    EXPECT_TRUE(refuses(FileAround(Concat({InfoHeader(1, 1, 24, 3), Bytes(12 + 4, 0)}), 52)));
}

// BI_RLE8 and BI_RLE4 as the skin pictures are carried: runs of one index, literal
// stretches padded to 16 bits, line ends; also a jump, and a run past the right edge cut
// there as GDI draws it.
TEST(BitmapFormat, RunLengthPixelsOfEightAndFourBits) {
    const Bytes palette = {10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0}; // blues 10, 20, 30
    // 5 by 3, bottom row first: "0 0 0 1 2" (a run of 3, then two single runs), "2 1 0 1 2"
    // (a literal of 5 and one byte of padding), "1 2 2 2 2" (a run of 9 cut at the edge).
    const Bytes rle8 = {3, 0, 1, 1, 1, 2, 0, 0,       //
                        0, 5, 2, 1, 0, 1, 2, 0, 0, 0, //
                        1, 1, 9, 2, 0, 1};
    const DecodedBitmap eight = DecodePackedDib(Concat({InfoHeader(5, 3, 8, 1, 3), palette, rle8}));
    const std::vector<std::uint32_t> want8 = {20, 30, 30, 30, 30, //
                                              30, 20, 10, 20, 30, //
                                              10, 10, 10, 20, 30};
    EXPECT_EQ(eight.pixels, want8);

    // 4 bits: a run alternates the byte's two indices; a literal of 3 takes two bytes, and
    // is padded to 16 bits; a jump (0, 2, dx, dy) leaves pixels black.
    const Bytes rle4 = {5, 0x12, 0,    0,                // bottom: 1 2 1 2 1
                        0, 3,    0x21, 0x00, 0, 2, 2, 0, // middle: 2 1 0, jump to x = 5
                        0, 0,                            //   (nothing left on the row)
                        2, 0x00, 0,    1};               // top: 0 0, then black
    const DecodedBitmap four = DecodePackedDib(Concat({InfoHeader(5, 3, 4, 2, 3), palette, rle4}));
    const std::vector<std::uint32_t> want4 = {10, 10, 0,  0,  0, //
                                              30, 20, 10, 0,  0, //
                                              20, 30, 20, 30, 20};
    EXPECT_EQ(four.pixels, want4);
}

TEST(BitmapFormat, AMissingPaddingOfTheLastRowIsTolerated) {
    // 1 by 2 at 24 bits: rows of 4 bytes; the file stops right after the last pixel.
    const Bytes dib = Concat({InfoHeader(1, 2, 24), Bytes{1, 2, 3, 0, 4, 5, 6}});
    const DecodedBitmap image = DecodePackedDib(dib);
    EXPECT_EQ(image.pixels[0], 0x060504u);
    EXPECT_EQ(image.pixels[1], 0x030201u);
    EXPECT_THROW(DecodePackedDib(Bytes(dib.begin(), dib.end() - 1)), EInvalidGraphic);
}

} // namespace
