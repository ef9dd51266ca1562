#include "app/text_case.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(TextCase, UpperCasesTheScriptsNamesAreTypedIn) {
    struct Pair {
        wchar_t lower, upper;
    };
    const Pair pairs[] = {
        {L'a', L'A'},           {L'z', L'Z'},           {L'\u00E9', L'\u00C9'}, // é É
        {L'\u00FE', L'\u00DE'}, {L'\u00FF', L'\u0178'},                         // þ Þ, ÿ Ÿ
        {L'\u0101', L'\u0100'}, {L'\u0142', L'\u0141'},                         // ā Ā, ł Ł
        {L'\u015B', L'\u015A'}, {L'\u017E', L'\u017D'},                         // ś Ś, ž Ž
        {L'\u03B1', L'\u0391'}, {L'\u03C9', L'\u03A9'},                         // α Α, ω Ω
        {L'\u03C2', L'\u03A3'}, {L'\u03AC', L'\u0386'},                         // ς Σ, ά Ά
        {L'\u0430', L'\u0410'}, {L'\u044F', L'\u042F'},                         // а А, я Я
        {L'\u0451', L'\u0401'}, {L'\u0456', L'\u0406'},                         // ё Ё, і І
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(ToUpperInvariant(pair.lower), pair.upper) << std::hex << int(pair.lower);
        EXPECT_EQ(ToUpperInvariant(pair.upper), pair.upper) << std::hex << int(pair.upper);
    }
}

TEST(TextCase, LeavesWhatHasNoCapitalAlone) {
    for (const wchar_t c : {L'0', L' ', L'(', L'@', L'\u00F7', L'\u00DF', L'\u0130', L'\u0131',
                            L'\u0138', L'\u0149', L'\u4E2D', L'\uFF41'})
        EXPECT_EQ(ToUpperInvariant(c), c) << std::hex << int(c);
}

TEST(TextCase, ComparesWholeNamesAndPrefixes) {
    EXPECT_TRUE(EqualsIgnoreCase(L"new folder (2)", L"New Folder (2)"));
    EXPECT_TRUE(EqualsIgnoreCase(L"новая папка", L"НОВАЯ ПАПКА"));
    EXPECT_FALSE(EqualsIgnoreCase(L"New Folder", L"New Folder "));
    EXPECT_FALSE(EqualsIgnoreCase(L"Folder", L"Fold"));
    EXPECT_TRUE(EqualsIgnoreCase(L"", L""));

    EXPECT_TRUE(StartsWithIgnoreCase(L"ctrl+F", L"Ctrl+"));
    EXPECT_TRUE(StartsWithIgnoreCase(L"Ctrl+", L"Ctrl+"));
    EXPECT_FALSE(StartsWithIgnoreCase(L"Ctrl", L"Ctrl+"));
    EXPECT_TRUE(StartsWithIgnoreCase(L"anything", L""));
    EXPECT_EQ(ToUpperInvariant(std::wstring_view(L"Über ёж")), L"ÜBER ЁЖ");
}

} // namespace
} // namespace nestora::app
