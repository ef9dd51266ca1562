// The byte stream pictures are loaded from and saved to.
#include "gui/core/stream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BytesStream, ReadsInPiecesAndGivesZeroAtTheEnd) {
    nestora::gui::TBytesStream stream(Bytes{1, 2, 3, 4, 5});
    std::array<std::uint8_t, 2> piece{};
    EXPECT_EQ(stream.Read(piece), 2u);
    EXPECT_EQ(piece, (std::array<std::uint8_t, 2>{1, 2}));
    EXPECT_EQ(stream.Read(piece), 2u);
    EXPECT_EQ(piece, (std::array<std::uint8_t, 2>{3, 4}));
    // The last piece is short and leaves the rest of the buffer as it was.
    EXPECT_EQ(stream.Read(piece), 1u);
    EXPECT_EQ(piece, (std::array<std::uint8_t, 2>{5, 4}));
    EXPECT_EQ(stream.Read(piece), 0u);
    EXPECT_EQ(stream.Position(), 5u);
}

TEST(BytesStream, WritesOverwriteInPlaceAndExtendPastTheEnd) {
    nestora::gui::TBytesStream stream(Bytes{1, 2, 3});
    stream.Seek(1);
    const Bytes more{7, 8, 9};
    stream.Write(more);
    EXPECT_EQ(stream.Bytes(), (Bytes{1, 7, 8, 9}));
    EXPECT_EQ(stream.Position(), 4u);
    stream.Write({});
    EXPECT_EQ(stream.Bytes().size(), 4u);
}

TEST(BytesStream, SeekingPastTheEndStopsAtTheEnd) {
    nestora::gui::TBytesStream stream(Bytes{1, 2});
    stream.Seek(100);
    EXPECT_EQ(stream.Position(), 2u);
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(stream.Read(buffer), 0u);
    nestora::gui::TBytesStream empty;
    EXPECT_EQ(empty.Read(buffer), 0u);
    empty.Seek(3);
    EXPECT_EQ(empty.Position(), 0u);
}

} // namespace
