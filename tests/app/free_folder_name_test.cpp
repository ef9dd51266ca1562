#include "app/free_folder_name.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nestora::app {
namespace {

constexpr std::wstring_view kBase = L"New Folder";

std::vector<std::wstring> BaseAndNumbers(unsigned from, unsigned to) {
    std::vector<std::wstring> names{std::wstring(kBase)};
    for (unsigned k = from; k <= to; ++k)
        names.push_back(NumberedFolderName(kBase, k));
    return names;
}

TEST(JoinPath, AddsOneSeparator) {
    EXPECT_EQ(JoinPath(L"C:\\Data", L"New Folder"), L"C:\\Data\\New Folder");
    EXPECT_EQ(JoinPath(L"C:\\", L"New Folder"), L"C:\\New Folder");
    EXPECT_EQ(JoinPath(L"C:", L"New Folder"), L"C:\\New Folder");
    EXPECT_EQ(JoinPath(L"C:/Data/", L"x"), L"C:/Data/x");
    EXPECT_EQ(JoinPath(L"\\\\server\\share", L"x"), L"\\\\server\\share\\x");
}

TEST(FreeFolderName, BaseNameWhenNoDirectoryBearsIt) {
    EXPECT_EQ(FirstFreeFolderName(kBase, {}), kBase);
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"New Folder (2)", L"New Folder (3)"}), kBase);
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"New Folder old", L"New Folders", L"Old"}), kBase);
}

TEST(FreeFolderName, SmallestFreeNumberFromTwo) {
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"New Folder"}), L"New Folder (2)");
    EXPECT_EQ(FirstFreeFolderName(kBase, BaseAndNumbers(2, 2)), L"New Folder (3)");
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"New Folder (4)", L"New Folder", L"New Folder (2)"}),
              L"New Folder (3)");
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"New Folder", L"New Folder (3)"}), L"New Folder (2)");
}

TEST(FreeFolderName, NumbersPastNineAndNinetyNine) {
    EXPECT_EQ(FirstFreeFolderName(kBase, BaseAndNumbers(2, 9)), L"New Folder (10)");
    EXPECT_EQ(FirstFreeFolderName(kBase, BaseAndNumbers(2, 10)), L"New Folder (11)");
    EXPECT_EQ(FirstFreeFolderName(kBase, BaseAndNumbers(2, 99)), L"New Folder (100)");
    auto names = BaseAndNumbers(2, 100);
    std::reverse(names.begin(), names.end()); // listings come in no particular order
    EXPECT_EQ(FirstFreeFolderName(kBase, names), L"New Folder (101)");
    names.erase(std::find(names.begin(), names.end(), L"New Folder (57)"));
    EXPECT_EQ(FirstFreeFolderName(kBase, names), L"New Folder (57)");
}

TEST(FreeFolderName, ComparesWithoutRegardToCase) {
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"new folder"}), L"New Folder (2)");
    EXPECT_EQ(FirstFreeFolderName(kBase, {L"NEW FOLDER", L"new folder (2)"}), L"New Folder (3)");
    EXPECT_EQ(FirstFreeFolderName(L"Новая папка", {L"НОВАЯ ПАПКА", L"новая папка (2)"}),
              L"Новая папка (3)");
}

TEST(FreeFolderName, OnlyItsOwnNumberFormCounts) {
    const std::vector<std::wstring> lookalikes = {L"New Folder",
                                                  L"New Folder (02)",
                                                  L"New Folder (1)",
                                                  L"New Folder (0)",
                                                  L"New Folder ( 2)",
                                                  L"New Folder (2) ",
                                                  L"New Folder (2)x",
                                                  L"New Folder (-2)",
                                                  L"New Folder(2)",
                                                  L"New Folder (2",
                                                  L"New Folder ()",
                                                  L"New Folder (\uFF12)",
                                                  L"New Folder (99999999999999999999999999)"};
    EXPECT_EQ(FirstFreeFolderName(kBase, lookalikes), L"New Folder (2)");
}

TEST(FreeFolderName, BaseThatLooksNumberedItself) {
    EXPECT_EQ(FirstFreeFolderName(L"Report (2)", {L"Report (2)", L"Report (3)"}),
              L"Report (2) (2)");
}

TEST(FreeFolderName, RepeatedNamesInTheListingDoNotSkipNumbers) {
    EXPECT_EQ(FirstFreeFolderName(
                  kBase, {L"New Folder", L"New Folder (2)", L"new folder (2)", L"New Folder (2)"}),
              L"New Folder (3)");
}

} // namespace
} // namespace nestora::app
