// The theme writer: its list format, its layout, the command line, and the round trip
// through the reader.
#include "skin/menus/theme_file_error.h"
#include "skin/menus/theme_file_loader.h"
#include "skin/menus/theme_file_parser.h"
#include "theme_list.h"
#include "theme_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using nestora::themewriter::ReadThemeList;
using nestora::themewriter::ThemeWriterError;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string SmallBmp() {
    // 1 x 1, 24 bits: a green pixel.
    std::string bmp(58, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[2] = 58;
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[18] = 1;
    bmp[22] = 1;
    bmp[26] = 1;
    bmp[28] = 24;
    bmp[55] = static_cast<char>(0xA0);
    return bmp;
}

class ThemeWriterFolder : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("nestora-themewriter-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        WriteAll(folder_ / "left.bmp", SmallBmp());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::vector<nestora::themewriter::ThemeWriterEntry> Read(const std::string& list) {
        return ReadThemeList(list, "t.list", folder_);
    }

    // The message of the ThemeWriterError the list raises, or "" when it reads.
    std::string ErrorOf(const std::string& list) {
        try {
            Read(list);
        } catch (const ThemeWriterError& e) {
            return e.what();
        }
        return "";
    }

    int Run(const std::string& args) {
        const std::string command = std::string(THEMEWRITER_PATH) + " " + args + " 2>'" +
                                    (folder_ / "stderr").string() + "' >/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path folder_;
};

TEST(ThemeWriterNumbers, AcceptDecimalAndDollarHex) {
    using nestora::themewriter::ParseThemeInteger;
    EXPECT_EQ(ParseThemeInteger("$00A04A44"), 0x00A04A44);
    EXPECT_EQ(ParseThemeInteger("$ff"), 0xFF);
    EXPECT_EQ(ParseThemeInteger("$FF000007"), static_cast<std::int32_t>(0xFF000007));
    EXPECT_EQ(ParseThemeInteger("4278190087"), static_cast<std::int32_t>(0xFF000007));
    EXPECT_EQ(ParseThemeInteger("-4"), -4);
    EXPECT_EQ(ParseThemeInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseThemeInteger("0"), 0);
}

TEST(ThemeWriterNumbers, RefuseWhatIsNotA32BitNumber) {
    using nestora::themewriter::ParseThemeInteger;
    for (const char* bad : {"", "$", "$123456789", "$12G", "$-1", "12x", "0x10", "4294967296",
                            "-2147483649", "+5", " 5", "1.5"}) {
        EXPECT_FALSE(ParseThemeInteger(bad).has_value()) << bad;
    }
}

TEST_F(ThemeWriterFolder, ReadsEveryTypeAndSkipsCommentsAndBlankLines) {
    const auto entries = Read("# a comment\n"
                              "\n"
                              "   \t\n"
                              "TitleBarLeftImage bitmap left.bmp\n"
                              "FormMinWidthInt int -7   # a comment after a value\n"
                              "MenuBarColor\tcolor\t$00CFE3D2\r\n"
                              "TitleBarButtonTransparentBool flag true\n"
                              "ButtonTransparentBool flag 2\n"
                              "ThemeName text  Gr\xC3\xBCn # not a comment  \n");
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].key, "TitleBarLeftImage");
    const std::string bmp = SmallBmp();
    EXPECT_EQ(entries[0].data, std::vector<std::uint8_t>(bmp.begin(), bmp.end()));
    EXPECT_EQ(entries[1].data, (std::vector<std::uint8_t>{0xF9, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(entries[2].data, (std::vector<std::uint8_t>{0xD2, 0xE3, 0xCF, 0x00}));
    EXPECT_EQ(entries[3].data, (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(entries[4].data, (std::vector<std::uint8_t>{2}));
    const std::string text = "Gr\xFCn # not a comment";
    EXPECT_EQ(entries[5].data, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST_F(ThemeWriterFolder, NamesTheLineAndTheFaultOfABadList) {
    EXPECT_EQ(ErrorOf("\nMenuBarColor colour $0\n"),
              "t.list:2: unknown type 'colour' (bitmap, int, color, flag or text)");
    EXPECT_EQ(ErrorOf("MenuBarColor\n"),
              "t.list:1: 'MenuBarColor' has no type (bitmap, int, color, flag or text)");
    EXPECT_EQ(ErrorOf("MenuBarColor color\n"), "t.list:1: 'MenuBarColor' has no value");
    EXPECT_EQ(ErrorOf("MenuBarColor color $1 $2\n"),
              "t.list:1: 'MenuBarColor' has more than one value: '$2'");
    EXPECT_EQ(ErrorOf("MenuBarColor color green\n"),
              "t.list:1: 'green' is not a colour ($00BBGGRR or decimal)");
    EXPECT_EQ(ErrorOf("FormMinWidthInt int 1e3\n"),
              "t.list:1: '1e3' is not an integer (decimal or $hex, 32 bits)");
    EXPECT_EQ(ErrorOf("ButtonTransparentBool flag 256\n"),
              "t.list:1: '256' is not a flag (true, false or 0 to 255)");
    EXPECT_EQ(ErrorOf("ThemeName text \xE2\x82\xAC\n"),
              "t.list:1: the text of 'ThemeName' is not UTF-8 within Latin-1, which is all a "
              "theme file can hold");
    EXPECT_EQ(ErrorOf(std::string(65, 'K') + " int 1\n"),
              "t.list:1: the key '" + std::string(65, 'K') + "' is longer than 64 characters");
    EXPECT_EQ(ErrorOf("Gr\xC3\xBCn int 1\n"),
              "t.list:1: the key 'Gr\xC3\xBCn' holds a character that is not printable ASCII");
}

TEST_F(ThemeWriterFolder, RefusesAKeyGivenTwiceInAnyCase) {
    EXPECT_EQ(ErrorOf("MenuBarColor color 1\n# between\nMENUBARCOLOR color 2\n"),
              "t.list:3: 'MENUBARCOLOR' is already given on line 1; readers would see only the "
              "first");
    // The same key under different types is still one key to a skin author.
    EXPECT_NE(ErrorOf("Key int 1\nkey flag 1\n"), "");
}

TEST_F(ThemeWriterFolder, RefusesBitmapsItCannotReadOrThatAreNotBmp) {
    EXPECT_EQ(ErrorOf("TitleBarLeftImage bitmap\n"),
              "t.list:1: a bitmap entry needs the name of a .bmp file");
    EXPECT_EQ(ErrorOf("TitleBarLeftImage bitmap absent.bmp\n"),
              "t.list:1: cannot open the bitmap '" + (folder_ / "absent.bmp").string() + "'");
    WriteAll(folder_ / "fake.bmp", "PK\x03\x04 and more bytes than a BMP header needs");
    EXPECT_EQ(ErrorOf("TitleBarLeftImage bitmap fake.bmp\n"),
              "t.list:1: '" + (folder_ / "fake.bmp").string() + "' is not a BMP file");
}

TEST(ThemeWriterLayout, WritesHeaderRecordsTerminatorAndDataInOrder) {
    const auto bytes = nestora::themewriter::BuildThemeFile(
        {nestora::themewriter::IntegerEntry("A", 0x01020304), nestora::themewriter::FlagEntry("B", 7)});
    // 24 header + 3 records of 77 + 4 + 1 data bytes.
    ASSERT_EQ(bytes.size(), 24u + 3 * 77 + 5);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 12), "NESTORATHEME");
    auto u32 = [&](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(u32(12), 24u);
    EXPECT_EQ(u32(16), 1u); // format version
    EXPECT_EQ(u32(20), 24u);
    EXPECT_EQ(bytes[24], 'A');
    EXPECT_EQ(bytes[25], 0);
    EXPECT_EQ(bytes[24 + 64], 1);          // type: integer
    EXPECT_EQ(u32(24 + 65), 24u + 3 * 77); // data offset
    EXPECT_EQ(u32(24 + 69), 4u);           // data size
    EXPECT_EQ(u32(24 + 73), 24u + 77);     // next record
    EXPECT_EQ(bytes[101 + 64], 2);         // type: flag
    EXPECT_EQ(u32(101 + 65), 24u + 3 * 77 + 4);
    EXPECT_EQ(u32(101 + 73), 24u + 2 * 77);
    for (std::size_t i = 178; i < 178 + 77; ++i) // the terminator is all zeros
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(u32(255), 0x01020304u);
    EXPECT_EQ(bytes[259], 7);
}

TEST(ThemeWriterLayout, RefusesKeysARecordCannotHold) {
    using nestora::themewriter::BuildThemeFile;
    using nestora::themewriter::IntegerEntry;
    EXPECT_THROW(BuildThemeFile({IntegerEntry("", 1)}), ThemeWriterError);
    EXPECT_THROW(BuildThemeFile({IntegerEntry(std::string(65, 'K'), 1)}), ThemeWriterError);
    EXPECT_THROW(BuildThemeFile({IntegerEntry(std::string("a\0b", 3), 1)}), ThemeWriterError);
    EXPECT_NO_THROW(BuildThemeFile({IntegerEntry(std::string(64, 'K'), 1)}));
}

TEST_F(ThemeWriterFolder, WhatTheWriterWritesTheReaderReadsBack) {
    WriteAll(folder_ / "t.list", "TitleBarLeftImage bitmap left.bmp\n"
                                 "TitleBarButtonTopInt int -7\n"
                                 "MenuFontColor color $FF000007\n"
                                 "MenuBarColor color 13624274\n"
                                 "TitleBarButtonTransparentBool flag true\n"
                                 "ButtonTransparentBool flag false\n"
                                 "ThemeName text Gr\xC3\xBCn\n");
    const fs::path out = folder_ / "out.theme";
    ASSERT_EQ(Run("'" + (folder_ / "t.list").string() + "' '" + folder_.string() + "' '" +
                  out.string() + "'"),
              0);
    const nestora::skin::ThemeFile theme = nestora::skin::LoadThemeFile(out);
    const auto bitmap = theme.Bitmap(L"TitleBarLeftImage");
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(std::string(bitmap->begin(), bitmap->end()), SmallBmp());
    EXPECT_EQ(theme.Integer(L"TitleBarButtonTopInt"), -7);
    EXPECT_EQ(static_cast<std::uint32_t>(theme.Color(L"MenuFontColor")), 0xFF000007u);
    EXPECT_EQ(theme.Color(L"MenuBarColor"), 0x00CFE3D2);
    EXPECT_TRUE(theme.Flag(L"TitleBarButtonTransparentBool"));
    EXPECT_FALSE(theme.Flag(L"ButtonTransparentBool"));
    EXPECT_TRUE(theme.FindFlag(L"ButtonTransparentBool").has_value());
    EXPECT_EQ(theme.Text(L"ThemeName"), std::wstring(L"Gr\u00FCn"));
    EXPECT_FALSE(fs::exists(folder_ / "out.theme.partial"));
}

TEST_F(ThemeWriterFolder, AFailedRunLeavesTheOldOutputAsItWas) {
    const fs::path out = folder_ / "out.theme";
    WriteAll(out, "the theme that was there before");
    WriteAll(folder_ / "bad.list", "MenuBarColor color $00CFE3D2\nFormMinWidthInt int wide\n");
    EXPECT_EQ(Run("'" + (folder_ / "bad.list").string() + "' '" + folder_.string() + "' '" +
                  out.string() + "'"),
              1);
    const auto err = ReadAll(folder_ / "stderr");
    EXPECT_NE(std::string(err.begin(), err.end()).find("bad.list:2: 'wide' is not an integer"),
              std::string::npos);
    const auto kept = ReadAll(out);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the theme that was there before");
    EXPECT_FALSE(fs::exists(folder_ / "out.theme.partial"));
}

TEST_F(ThemeWriterFolder, TheCommandLineWantsThreeArguments) {
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("a b"), 2);
    EXPECT_EQ(Run("'" + (folder_ / "absent.list").string() + "' . out.theme"), 1);
}

} // namespace
