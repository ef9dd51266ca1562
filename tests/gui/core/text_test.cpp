#include "gui/core/text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace nestora::gui {
namespace {

TEST(HexDigits, PadsCutsAndUsesUpperCase) {
    EXPECT_EQ(HexDigits(0x80004005u, 8), L"80004005");
    EXPECT_EQ(HexDigits(0xABCu, 8), L"00000ABC");
    // Only the lowest digits are kept, as a fixed-width field would show them.
    EXPECT_EQ(HexDigits(0x123456789ull, 4), L"6789");
    EXPECT_EQ(HexDigits(UINT64_MAX, 16), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(HexDigits(0, 0), L"");
    EXPECT_EQ(HexDigits(5, -3), L"");
}

TEST(IntToStr, WritesEveryWidthAndSignLikeTheStandardLibrary) {
    EXPECT_EQ(IntToStr(0), L"0");
    EXPECT_EQ(IntToStr(-7), L"-7");
    EXPECT_EQ(IntToStr(static_cast<unsigned char>(200)), L"200");
    EXPECT_EQ(IntToStr(1003ull), L"1003");
    // The ends of each range, where a naive negation or a short buffer would fail.
    EXPECT_EQ(IntToStr(INT64_MIN), std::to_wstring(INT64_MIN));
    EXPECT_EQ(IntToStr(INT64_MAX), std::to_wstring(INT64_MAX));
    EXPECT_EQ(IntToStr(UINT64_MAX), L"18446744073709551615");
    EXPECT_EQ(IntToStr(INT32_MIN), L"-2147483648");
    EXPECT_EQ(IntToStr(static_cast<std::size_t>(4096)), L"4096");
}

TEST(Identifiers, CompareWithoutCaseAndCheckTheirForm) {
    EXPECT_TRUE(EqualsIgnoreCaseAscii(std::string_view("TForm1"), std::string_view("tform1")));
    EXPECT_FALSE(EqualsIgnoreCaseAscii(std::string_view("TForm1"), std::string_view("TForm")));
    EXPECT_TRUE(IsValidIdentifier(L""));
    EXPECT_TRUE(IsValidIdentifier(L"_Menu2"));
    EXPECT_FALSE(IsValidIdentifier(L"2Menu"));
    EXPECT_FALSE(IsValidIdentifier(L"Menu Item"));
    EXPECT_FALSE(IsValidIdentifier(L"Меню"));
}

} // namespace
} // namespace nestora::gui
