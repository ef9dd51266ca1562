#include "app/folder_name.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

constexpr std::wstring_view kDefault = L"New Folder";

TEST(FolderName, KeepsUsableNames) {
    for (const wchar_t* name :
         {L"New Folder", L"Новая папка", L"  leading blanks", L"a (2)", L"CONSOLE", L"COM10",
          L"LPT0", L"nul1", L"AUX-files", L"#1 & co", L"\U0001F600"})
        EXPECT_EQ(UsableFolderName(name, kDefault), name) << testing::PrintToString(name);
}

TEST(FolderName, EachForbiddenCharacterGivesTheDefault) {
    EXPECT_EQ(kForbiddenNameCharacters.size(), 10u);
    for (const wchar_t c : kForbiddenNameCharacters) {
        const std::wstring name = L"ab" + std::wstring(1, c) + L"cd";
        EXPECT_TRUE(HasForbiddenCharacter(name)) << testing::PrintToString(name);
        EXPECT_EQ(UsableFolderName(name, kDefault), kDefault) << testing::PrintToString(name);
    }
}

TEST(FolderName, ControlCharactersGiveTheDefault) {
    for (const wchar_t c : {L'\x01', L'\t', L'\n', L'\x1F'}) {
        const std::wstring name = L"ab" + std::wstring(1, c);
        EXPECT_TRUE(HasForbiddenCharacter(name)) << int(c);
        EXPECT_EQ(UsableFolderName(name, kDefault), kDefault) << int(c);
    }
    const std::wstring withNul(L"ab\0cd", 5);
    EXPECT_EQ(UsableFolderName(withNul, kDefault), kDefault);
    EXPECT_FALSE(HasForbiddenCharacter(L"a b\u00A0c\x7F"));
}

TEST(FolderName, NamesThatLeaveTheTargetFolderGiveTheDefault) {
    for (const wchar_t* name : {L"..\\..\\x", L"../x", L"C:\\Windows\\x", L"\\\\server\\share",
                                L".", L"..", L"...", L" . ", L".hidden", L"x."})
        EXPECT_EQ(UsableFolderName(name, kDefault), kDefault) << testing::PrintToString(name);
}

TEST(FolderName, TrailingBlanksAreDroppedAndBlanksAloneGiveTheDefault) {
    EXPECT_EQ(UsableFolderName(L"Photos   ", kDefault), L"Photos");
    EXPECT_EQ(UsableFolderName(L" Photos ", kDefault), L" Photos");
    EXPECT_EQ(UsableFolderName(L"", kDefault), kDefault);
    EXPECT_EQ(UsableFolderName(L"    ", kDefault), kDefault);
}

TEST(FolderName, DeviceNamesGiveTheDefault) {
    for (const wchar_t* name : {L"CON", L"con", L"Prn", L"AUX", L"nul", L"COM1", L"com9", L"LPT1",
                                L"Lpt9", L"CON  ", L"COM\u00B9", L"LPT\u00B3"})
        EXPECT_EQ(UsableFolderName(name, kDefault), kDefault) << testing::PrintToString(name);
    // With an extension, which the full stop already refuses, they are devices as well.
    for (const wchar_t* name : {L"CON.txt", L"nul.tar.gz", L"com1 .x", L"AUX."})
        EXPECT_TRUE(IsReservedDeviceName(name)) << testing::PrintToString(name);
    for (const wchar_t* name : {L"CONX", L"COM", L"COM0", L"COM10", L"xCON", L"LPT", L"NUL_"})
        EXPECT_FALSE(IsReservedDeviceName(name)) << testing::PrintToString(name);
}

TEST(FolderName, OverlongNamesGiveTheDefaultCountedInUtf16Units) {
    const std::wstring longest(kMaxFolderNameLength, L'x');
    EXPECT_EQ(UsableFolderName(longest, kDefault), longest);
    EXPECT_EQ(UsableFolderName(longest + L"x", kDefault), kDefault);
    EXPECT_EQ(UsableFolderName(longest + L"   ", kDefault), longest);

    // A letter past U+FFFF takes two units on Windows wherever the string lives.
    std::wstring emoji;
    for (std::size_t i = 0; i < kMaxFolderNameLength / 2; ++i)
        emoji += L"\U0001F600";
    EXPECT_EQ(UsableFolderName(emoji, kDefault), emoji);
    EXPECT_EQ(UsableFolderName(emoji + L"x", kDefault), kDefault);
}

} // namespace
} // namespace nestora::app
