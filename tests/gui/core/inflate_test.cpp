#include "gui/core/inflate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nestora::gui {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string RepeatedText() {
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += "Nestora makes a New Folder, New Folder (2), New Folder (3) ... ";
    return text;
}

// The same bytes as the generator of the dynamic sample: letters of a skewed alphabet.
Bytes SkewedLetters(int count) {
    static const std::string alphabet = "eeeeeeeettttaaoinshr d";
    std::uint32_t x = 12345;
    Bytes out;
    for (int i = 0; i < count; ++i) {
        x = (x * 1103515245u + 12345u) & 0x7FFFFFFFu;
        out.push_back(static_cast<std::uint8_t>(alphabet[(x >> 16) % alphabet.size()]));
    }
    return out;
}

// Writes a stream bit by bit: fields first bit lowest, Huffman codes first bit highest.
class BitWriter {
public:
    BitWriter& Field(unsigned value, int bits) {
        for (int i = 0; i < bits; ++i)
            Bit((value >> i) & 1u);
        return *this;
    }
    BitWriter& Code(unsigned code, int bits) {
        for (int i = bits - 1; i >= 0; --i)
            Bit((code >> i) & 1u);
        return *this;
    }
    Bytes Contents() const { return bytes_; }

private:
    void Bit(unsigned bit) {
        if (used_ % 8 == 0)
            bytes_.push_back(0);
        bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (bit << (used_ % 8)));
        ++used_;
    }
    Bytes bytes_;
    int used_ = 0;
};

// Made by zlib (raw deflate, level 9): a fixed-code block and a dynamic-code block.
const Bytes kFixedSample = {0xF3, 0x4B, 0x2D, 0x2E, 0xC9, 0x2F, 0x4A, 0x54, 0xC8, 0x4D, 0xCC, 0x4E,
                            0x2D, 0x56, 0x48, 0x54, 0xF0, 0x4B, 0x2D, 0x57, 0x70, 0xCB, 0xCF, 0x49,
                            0x49, 0x2D, 0xD2, 0x41, 0x62, 0x2B, 0x68, 0x18, 0x69, 0xA2, 0xF2, 0x8D,
                            0x35, 0x15, 0xF4, 0xF4, 0xF4, 0x80, 0x42, 0x03, 0xA9, 0x1D, 0x00};
const Bytes kDynamicSample = {
    0x1D, 0x8C, 0xC1, 0x09, 0x00, 0x41, 0x08, 0x03, 0x5B, 0xB9, 0xD6, 0x04, 0x03, 0xFA, 0x12, 0x76,
    0xA7, 0x7F, 0x36, 0x9E, 0x0F, 0x1D, 0xC2, 0x98, 0x92, 0x84, 0x76, 0x46, 0x61, 0x80, 0x3B, 0xE2,
    0x7C, 0x7F, 0x48, 0x50, 0x59, 0x64, 0x9A, 0xBD, 0x9C, 0x16, 0xA8, 0xF7, 0x83, 0x75, 0x4D, 0x29,
    0x4A, 0x4C, 0x2B, 0x7C, 0xD4, 0xA5, 0xD0, 0x70, 0xE1, 0x58, 0x8D, 0x6D, 0xB5, 0xFA, 0x00};

// A stored block: final, type 0, length 5 and its complement, then the bytes.
const Bytes kStoredSample = {0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'};

TEST(Inflate, DecodesEachKindOfBlockAsZlibWroteIt) {
    EXPECT_EQ(Inflate(kStoredSample, 100), BytesOf("hello"));
    EXPECT_EQ(Inflate(kFixedSample, 1000), BytesOf(RepeatedText()));
    EXPECT_EQ(Inflate(kDynamicSample, 1000), SkewedLetters(100));
    // A stored block that is not final followed by a final fixed one.
    Bytes two = {0x00, 0x02, 0x00, 0xFD, 0xFF, 'o', 'k'};
    two.insert(two.end(), kFixedSample.begin(), kFixedSample.end());
    EXPECT_EQ(Inflate(two, 1000), BytesOf("ok" + RepeatedText()));
}

TEST(Inflate, EveryCutShortStreamIsRefused) {
    for (const Bytes* sample : {&kStoredSample, &kFixedSample, &kDynamicSample})
        for (std::size_t size = 0; size < sample->size(); ++size)
            EXPECT_FALSE(Inflate({sample->data(), size}, 1000).has_value())
                << "cut to " << size << " of " << sample->size();
}

TEST(Inflate, OutputBeyondTheLimitIsRefusedNotCut) {
    const std::size_t whole = RepeatedText().size();
    EXPECT_TRUE(Inflate(kFixedSample, whole).has_value());
    EXPECT_FALSE(Inflate(kFixedSample, whole - 1).has_value());
    EXPECT_FALSE(Inflate(kStoredSample, 4).has_value());
    EXPECT_FALSE(Inflate(kDynamicSample, 0).has_value());
}

TEST(Inflate, MalformedBlocksAreRefused) {
    // Block type 3 does not exist.
    EXPECT_FALSE(Inflate(Bytes{0x07, 0x00}, 100).has_value());
    // A stored length whose complement does not match.
    EXPECT_FALSE(Inflate(Bytes{0x01, 0x05, 0x00, 0xFA, 0xFE, 'h', 'e', 'l', 'l', 'o'}, 100));
    // A final fixed block whose first code copies from before the start: length symbol
    // 257 (code 0000001), distance symbol 0 (code 00000).
    const Bytes before = BitWriter().Field(1, 1).Field(1, 2).Code(1, 7).Code(0, 5).Contents();
    EXPECT_FALSE(Inflate(before, 100).has_value());
    // The same copy after one literal 'A' (code 0x30 + 65, eight bits), then the end code
    // (0000000): a sound stream, "AAAA".
    const Bytes after = BitWriter()
                            .Field(1, 1)
                            .Field(1, 2)
                            .Code(0x30 + 'A', 8)
                            .Code(1, 7)
                            .Code(0, 5)
                            .Code(0, 7)
                            .Contents();
    EXPECT_EQ(Inflate(after, 100), BytesOf("AAAA"));
    // A dynamic block whose code-length code is over-subscribed: all nineteen lengths 1.
    BitWriter oversubscribed;
    oversubscribed.Field(1, 1).Field(2, 2).Field(0, 5).Field(0, 5).Field(15, 4);
    for (int i = 0; i < 19; ++i)
        oversubscribed.Field(1, 3);
    EXPECT_FALSE(Inflate(oversubscribed.Field(0, 16).Contents(), 100).has_value());
    // A dynamic block whose first code length says "repeat the previous one".
    BitWriter nothingToRepeat;
    nothingToRepeat.Field(1, 1).Field(2, 2).Field(0, 5).Field(0, 5).Field(0, 4);
    // Code lengths for symbols 16, 17, 18, 0 (the first four of the stored order): two
    // bits for 16 and for 0, so 0 has the code 00 and 16 the code 01.
    nothingToRepeat.Field(2, 3).Field(0, 3).Field(0, 3).Field(2, 3);
    nothingToRepeat.Code(1, 2).Field(0, 2);
    EXPECT_FALSE(Inflate(nothingToRepeat.Field(0, 16).Contents(), 100).has_value());
}

TEST(Inflate, FlippedBitsNeverReadOrWriteOutsideTheBuffers) {
    // Run under AddressSanitizer: every single-bit change of each sample must end in a
    // result or a refusal, and a result must respect the limit.
    for (const Bytes* sample : {&kFixedSample, &kDynamicSample}) {
        for (std::size_t bit = 0; bit < sample->size() * 8; ++bit) {
            Bytes changed = *sample;
            changed[bit / 8] = static_cast<std::uint8_t>(changed[bit / 8] ^ (1u << (bit % 8)));
            if (const auto out = Inflate(changed, 300)) {
                EXPECT_LE(out->size(), 300u);
            }
        }
    }
}

} // namespace
} // namespace nestora::gui
