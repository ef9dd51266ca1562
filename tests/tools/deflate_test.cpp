// The generator's encoder against the program's decoder: whatever is packed at build time
// must come back byte for byte at run time.
#include "deflate.h"
#include "gui/core/inflate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RoundTrip(const Bytes& data) {
    const Bytes packed = nestora::skingen::Deflate(data);
    const auto back = nestora::gui::Inflate(packed, data.size());
    return back ? *back : Bytes{0xDE, 0xAD};
}

Bytes PseudoRandom(std::size_t count, std::uint32_t seed) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        out.push_back(static_cast<std::uint8_t>(seed >> 24));
    }
    return out;
}

TEST(Deflate, SmallInputsComeBack) {
    EXPECT_EQ(RoundTrip({}), Bytes{});
    EXPECT_EQ(RoundTrip({42}), Bytes{42});
    EXPECT_EQ(RoundTrip({1, 2}), (Bytes{1, 2}));
    const std::string text = "New Folder, New Folder (2), New Folder (3)";
    EXPECT_EQ(RoundTrip(Bytes(text.begin(), text.end())), Bytes(text.begin(), text.end()));
    Bytes everyValue;
    for (int v = 0; v < 256; ++v)
        everyValue.push_back(static_cast<std::uint8_t>(v)); // 8- and 9-bit literal codes
    EXPECT_EQ(RoundTrip(everyValue), everyValue);
}

TEST(Deflate, LongRunsUseTheLongestMatchesAndShrink) {
    // A run far longer than the longest match (258) is a chain of copies at distance 1.
    const Bytes zeros(100000, 0);
    EXPECT_EQ(RoundTrip(zeros), zeros);
    EXPECT_LT(nestora::skingen::Deflate(zeros).size(), zeros.size() / 100);
    // Every length from 3 to 258 once: each length code and its extra bits.
    Bytes lengths;
    for (int length = 3; length <= 258; ++length) {
        lengths.push_back(static_cast<std::uint8_t>(length));
        lengths.insert(lengths.end(), static_cast<std::size_t>(length), 0xAA);
    }
    EXPECT_EQ(RoundTrip(lengths), lengths);
}

TEST(Deflate, MatchesAcrossTheWholeWindowAndBeyondItComeBack) {
    // A block of noise repeated at distances near the window's end (32,768) and past it:
    // the top distance codes, and no copy from farther back than the window allows.
    const Bytes noise = PseudoRandom(1000, 7);
    for (std::size_t gap : {31000u, 31767u, 31768u, 40000u}) {
        Bytes data = noise;
        const Bytes filler = PseudoRandom(gap, static_cast<std::uint32_t>(gap));
        data.insert(data.end(), filler.begin(), filler.end());
        data.insert(data.end(), noise.begin(), noise.end());
        EXPECT_EQ(RoundTrip(data), data) << "gap " << gap;
    }
    // Incompressible data comes back too (every byte a literal).
    const Bytes random = PseudoRandom(70000, 99);
    EXPECT_EQ(RoundTrip(random), random);
}

TEST(Deflate, TheSameBytesGiveTheSameStream) {
    const Bytes data = PseudoRandom(5000, 3);
    Bytes repeated;
    for (int i = 0; i < 4; ++i)
        repeated.insert(repeated.end(), data.begin(), data.begin() + 3000 - i * 500);
    EXPECT_EQ(nestora::skingen::Deflate(repeated), nestora::skingen::Deflate(repeated));
}

} // namespace
