// The theme file parser: what a good file gives through the lookups, and how each kind of
// damage is refused, with the message a user would see.
#include "skin/menus/theme_file_parser.h"

#include "theme_file_cases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nestora::theme_test;
using nestora::skin::ParseThemeFile;
using nestora::skin::ThemeFile;
using nestora::skin::ThemeFileError;
using nestora::skin::ThemeFileFault;

// gtest names may not hold '-'.
template <typename Case> std::string CaseId(const testing::TestParamInfo<Case>& param) {
    std::string id;
    for (char ch : param.param.name)
        id += ch == '-' ? '_' : ch;
    return id;
}

ThemeFile Parse(const std::vector<std::uint8_t>& bytes) {
    return ParseThemeFile(std::span<const std::uint8_t>(bytes), L"test.theme");
}

std::vector<std::wstring> Keys(const ThemeFile& theme,
                               const std::vector<nestora::skin::ThemeEntry>& list) {
    std::vector<std::wstring> keys;
    for (const auto& entry : list)
        keys.push_back(theme.Key(entry));
    return keys;
}

// --- The chain and the lookups ----------------------------------------------------------

TEST(ThemeFileChain, ThreeRecordsWithTheThirdEndingTheChainLoadExactlyTwoEntries) {
    RawTheme t;
    const std::uint32_t one = t.AppendU32(11), two = t.AppendU32(22), three = t.AppendU32(33);
    const std::uint32_t first = t.End();
    t.SetFirstRecord(first);
    t.AppendRecord("First", kInteger, one, 4, first + 77);
    t.AppendRecord("Second", kInteger, two, 4, first + 154);
    // The terminator carries a perfectly good entry of its own, which is not loaded.
    t.AppendRecord("Third", kInteger, three, 4, 0);

    const ThemeFile theme = Parse(t.Bytes());
    EXPECT_EQ(Keys(theme, theme.Integers()), (std::vector<std::wstring>{L"First", L"Second"}));
    EXPECT_EQ(theme.Integer(L"First"), 11);
    EXPECT_EQ(theme.Integer(L"Second"), 22);
    EXPECT_FALSE(theme.FindInteger(L"Third").has_value());
}

TEST(ThemeFileChain, AFirstRecordThatEndsTheChainLoadsNothing) {
    RawTheme t;
    const std::uint32_t data = t.AppendU32(5);
    t.SetFirstRecord(t.AppendRecord("MenuBarColor", kInteger, data, 4, 0));
    const ThemeFile theme = Parse(t.Bytes());
    EXPECT_TRUE(theme.Bitmaps().empty());
    EXPECT_TRUE(theme.Integers().empty());
    EXPECT_TRUE(theme.Flags().empty());
    EXPECT_TRUE(theme.Texts().empty());
}

TEST(ThemeFileChain, TheTerminatorsOwnFieldsAreNotChecked) {
    RawTheme t;
    t.SetFirstRecord(24);
    t.AppendRecord("Junk", kFlag, 0xFFFFFFF0, 0xFFFFFFFF, 0);
    EXPECT_NO_THROW(Parse(t.Bytes()));
}

TEST(ThemeFileChain, ChainOrderNotFileOrderDecidesWhichDuplicateWins) {
    // The record that lies later in the file comes first in the chain.
    RawTheme t;
    const std::uint32_t upper = t.AppendU32(0x00CED3D6), lower = t.AppendU32(0x00000001);
    const std::uint32_t at = t.End();
    t.AppendRecord("menubarcolor", kInteger, lower, 4, at + 154); // second in the chain
    t.AppendRecord("MenuBarColor", kInteger, upper, 4, at);       // first in the chain
    t.AppendRecord("", 0, 0, 0, 0);
    t.SetFirstRecord(at + 77);
    const ThemeFile theme = Parse(t.Bytes());
    EXPECT_EQ(theme.Color(L"MENUBARCOLOR"), 0x00CED3D6);
    EXPECT_EQ(Keys(theme, theme.Integers()),
              (std::vector<std::wstring>{L"MenuBarColor", L"menubarcolor"}));
}

TEST(ThemeFileLookups, FirstOfTwoCaseVariantKeysWins) {
    const ThemeFile theme = Parse(ChainedTheme(
        {IntegerEntry("MenuBarColor", 0x00CED3D6), IntegerEntry("menubarcolor", 0x00FFFFFF)}));
    EXPECT_EQ(theme.Color(L"MenuBarColor"), 0x00CED3D6);
    EXPECT_EQ(theme.Color(L"menubarcolor"), 0x00CED3D6);
    EXPECT_EQ(theme.Color(L"mEnUbArCoLoR"), 0x00CED3D6);
}

TEST(ThemeFileLookups, FlagBytesReadAsTrueWhenNonZero) {
    const ThemeFile theme = Parse(ChainedTheme(
        {FlagEntry("Two", 2), FlagEntry("Zero", 0), FlagEntry("One", 1), FlagEntry("Max", 255)}));
    EXPECT_TRUE(theme.Flag(L"Two"));
    EXPECT_FALSE(theme.Flag(L"Zero"));
    EXPECT_TRUE(theme.Flag(L"One"));
    EXPECT_TRUE(theme.Flag(L"Max"));
    EXPECT_EQ(theme.FindFlag(L"Two"), 2);
    EXPECT_EQ(theme.FindFlag(L"Zero"), 0);
}

TEST(ThemeFileLookups, AColourIsAnIntegerAndNotAFlag) {
    const ThemeFile theme =
        Parse(ChainedTheme({IntegerEntry("MenuSelectedBorderColor", 0x00A04A44)}));
    EXPECT_EQ(theme.Color(L"MenuSelectedBorderColor"), 0x00A04A44);
    EXPECT_EQ(theme.Integer(L"MenuSelectedBorderColor"), 0x00A04A44);
    EXPECT_FALSE(theme.Flag(L"MenuSelectedBorderColor"));
    EXPECT_FALSE(theme.FindFlag(L"MenuSelectedBorderColor").has_value());
}

TEST(ThemeFileLookups, EntriesOfUnknownTypeAreSkipped) {
    RawTheme t;
    const std::uint32_t data = t.AppendU32(9);
    const std::uint32_t first = t.End();
    t.SetFirstRecord(first);
    t.AppendRecord("MenuFontColor", 4, data, 4, first + 77);
    t.AppendRecord("MenuFontColor", 200, data, 4, first + 154);
    t.AppendRecord("MenuFontColor", kInteger, data, 4, first + 231);
    t.AppendRecord("", 0, 0, 0, 0);
    const ThemeFile theme = Parse(t.Bytes());
    EXPECT_EQ(theme.Integers().size(), 1u);
    EXPECT_EQ(theme.Integer(L"MenuFontColor"), 9);
    EXPECT_TRUE(theme.Bitmaps().empty());
    EXPECT_TRUE(theme.Flags().empty());
    EXPECT_TRUE(theme.Texts().empty());
}

// --- Lookups of what is missing and of each type ---------------------------------------

TEST(ThemeFileLookups, MissingKeysGiveTheDocumentedDefaults) {
    const ThemeFile theme = Parse(RichTheme());
    EXPECT_EQ(theme.Integer(L"NoSuchKey"), -1);
    EXPECT_EQ(theme.Color(L"NoSuchKey"), -1);
    EXPECT_FALSE(theme.Flag(L"NoSuchKey"));
    EXPECT_FALSE(theme.Bitmap(L"NoSuchKey").has_value());
    EXPECT_FALSE(theme.Text(L"NoSuchKey").has_value());
    // Each list answers only for its own type.
    EXPECT_FALSE(theme.Bitmap(L"MenuBarColor").has_value());
    EXPECT_EQ(theme.Integer(L"TitleBarLeftImage"), -1);
    EXPECT_EQ(theme.Integer(L"ThemeName"), -1);
    // A key that is a prefix of a stored one is not that key.
    EXPECT_EQ(theme.Integer(L"MenuBar"), -1);
    EXPECT_EQ(theme.Integer(L"MenuBarColorX"), -1);
}

TEST(ThemeFileLookups, IntegersKeepTheirSignAndAllThirtyTwoBits) {
    const ThemeFile theme =
        Parse(ChainedTheme({IntegerEntry("Negative", -4), IntegerEntry("Lowest", INT32_MIN),
                            IntegerEntry("SystemColor", static_cast<std::int32_t>(0xFF000007))}));
    EXPECT_EQ(theme.Integer(L"Negative"), -4);
    EXPECT_EQ(theme.Integer(L"Lowest"), INT32_MIN);
    EXPECT_EQ(static_cast<std::uint32_t>(theme.Color(L"SystemColor")), 0xFF000007u);
}

TEST(ThemeFileLookups, BitmapsGiveTheirBlockByteForByte) {
    const auto left = TinyBmp(0x00204A1A, 0x004CA044), client = TinyBmp(1, 2);
    const ThemeFile theme = Parse(ChainedTheme({BitmapEntry("TitleBarLeftImage", left),
                                                BitmapEntry("TitleBarClientImage", client),
                                                BitmapEntry("titlebarleftimage", TinyBmp(9, 9))}));
    const auto found = theme.Bitmap(L"TITLEBARLEFTIMAGE");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), left);
    const auto other = theme.Bitmap(L"TitleBarClientImage");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(other->begin(), other->end()), client);
}

TEST(ThemeFileLookups, TextsAndKeysAreLatin1) {
    const ThemeFile theme =
        Parse(ChainedTheme({TextEntry("ThemeName", "Gr\xFCn \xA9 2024"), TextEntry("Empty", ""),
                            IntegerEntry("Gr\xFCn", 3)}));
    EXPECT_EQ(theme.Text(L"themename"), std::wstring(L"Gr\u00FCn \u00A9 2024"));
    EXPECT_EQ(theme.Text(L"Empty"), std::wstring());
    EXPECT_EQ(theme.Key(theme.Integers().at(0)), L"Gr\u00FCn");
    // Accented Latin-1 letters fold too; a character outside Latin-1 never matches.
    EXPECT_EQ(theme.Integer(L"GR\u00DCN"), 3);
    EXPECT_EQ(theme.Integer(L"Gr\u0175n"), -1);
}

TEST(ThemeFileLookups, AKeyFillingAll64BytesHasNoTerminator) {
    const std::string full(64, 'K');
    RawTheme t;
    const std::uint32_t data = t.AppendU32(64);
    const std::uint32_t first = t.End();
    t.SetFirstRecord(first);
    t.AppendRecord(full, kInteger, data, 4, first + 77);
    t.AppendRecord("", 0, 0, 0, 0);
    const ThemeFile theme = Parse(t.Bytes());
    // The type byte that follows the key is not part of it.
    EXPECT_EQ(theme.Key(theme.Integers().at(0)), std::wstring(64, L'K'));
    EXPECT_EQ(theme.Integer(std::wstring(64, L'k')), 64);
    EXPECT_EQ(theme.Integer(std::wstring(63, L'K')), -1);
}

TEST(ThemeFileLookups, AKeyEndsAtItsFirstZeroByte) {
    RawTheme t;
    const std::uint32_t data = t.AppendU32(1);
    const std::uint32_t first = t.End();
    t.SetFirstRecord(first);
    t.AppendRecord(std::string("Short\0Hidden", 12), kInteger, data, 4, first + 77);
    t.AppendRecord("", 0, 0, 0, 0);
    const ThemeFile theme = Parse(t.Bytes());
    EXPECT_EQ(theme.Integer(L"Short"), 1);
    EXPECT_EQ(theme.Integer(L"ShortHidden"), -1);
}

TEST(ThemeFileLookups, TheHeadersFreeBytesAreNotRequired) {
    auto bytes = ChainedTheme({IntegerEntry("FormBorderWidthInt", 2)});
    for (std::size_t i : {0, 5, 11, 16, 19})
        bytes[i] = 0xA5;
    EXPECT_EQ(Parse(bytes).Integer(L"FormBorderWidthInt"), 2);
}

// --- Damaged files -----------------------------------------------------------------------

class DamagedThemeFile : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedThemeFile, IsRefusedNamingTheFileAndTheFault) {
    const DamagedCase& c = GetParam();
    const std::wstring name(c.name.begin(), c.name.end());
    try {
        ParseThemeFile(std::span<const std::uint8_t>(c.bytes), name + L".theme");
        FAIL() << c.name << " loaded";
    } catch (const ThemeFileError& e) {
        EXPECT_EQ(e.Fault(), c.fault);
        EXPECT_EQ(e.Message(), L"Theme file '" + name + L".theme' is damaged: " + c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedThemeFile, testing::ValuesIn(DamagedCases()),
                         CaseId<DamagedCase>);

TEST(ThemeFileError, WhatGivesTheMessageInUtf8) {
    try {
        ParseThemeFile(std::span<const std::uint8_t>(),
                       L"\u0442\u0435\u043C\u0430 \U0001F33F.theme");
        FAIL() << "an empty file loaded";
    } catch (const ThemeFileError& e) {
        EXPECT_STREQ(e.what(), "Theme file '\xD1\x82\xD0\xB5\xD0\xBC\xD0\xB0 \xF0\x9F\x8C\xBF"
                               ".theme' is damaged: the file is empty");
    }
}

TEST(ThemeFileError, UnpairedSurrogatesBecomeReplacementCharacters) {
    // Only a 16-bit wchar_t can hold half a pair; elsewhere the value itself is invalid.
    const std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(nestora::skin::ThemeWideToUtf8(lone + L"x"), "\xEF\xBF\xBDx");
}

// --- Good files ----------------------------------------------------------------------

class GoodThemeFile : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodThemeFile, Loads) {
    EXPECT_NO_THROW(Parse(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(Cases, GoodThemeFile, testing::ValuesIn(GoodCases()), CaseId<GoodCase>);

TEST(ThemeFileGoodCases, PartsMayLieInAnyOrder) {
    EXPECT_EQ(Parse(GoodCaseBytes("parts-in-any-order")).Color(L"MenuBarColor"), 0x00123456);
}

TEST(ThemeFileGoodCases, OverlappingRecordsWithinTheFilesRoomAreAccepted) {
    const ThemeFile theme = Parse(GoodCaseBytes("overlapping-records"));
    EXPECT_TRUE(theme.Integers().empty()); // every one of them of an unknown type
}

} // namespace
