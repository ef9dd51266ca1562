// The test helpers' own logic: the round counts a soak run raises, build paths as Wine
// sees them, and reading a folder's listing back as a series of new-folder names.
#include "tests/support/core/folder_series.h"
#include "tests/support/core/round_counts.h"
#include "tests/support/core/windows_path.h"

#include <gtest/gtest.h>

namespace nestora::testing {
namespace {

TEST(RoundCountsTest, OnlyASetNonZeroSoakValueAsksForTheFullCounts) {
    const RoundCounts counts{5, 500};
    EXPECT_EQ(RoundsFor(nullptr, counts), 5);
    EXPECT_EQ(RoundsFor("", counts), 5);
    EXPECT_EQ(RoundsFor("0", counts), 5);
    EXPECT_EQ(RoundsFor("1", counts), 500);
    EXPECT_EQ(RoundsFor("yes", counts), 500);
    // "00" is no "0": a set value that is not exactly "0" still means a soak.
    EXPECT_EQ(RoundsFor("00", counts), 500);
}

TEST(WindowsPathTest, TheUnixRootIsDriveZAndSlashesTurn) {
    EXPECT_EQ(WindowsPathOf("/work/build/app/nestora.exe"), L"Z:\\work\\build\\app\\nestora.exe");
    EXPECT_EQ(WindowsPathOf("/"), L"Z:\\");
    // A relative path stays relative: no drive is made up for it.
    EXPECT_EQ(WindowsPathOf("tools/x.exe"), L"tools\\x.exe");
    EXPECT_EQ(WindowsPathOf(""), L"");
    // Build paths arrive as UTF-8.
    EXPECT_EQ(WindowsPathOf("/tmp/\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0"), L"Z:\\tmp\\папка");
}

TEST(FolderSeriesTest, NamesOfTheSeriesGiveTheirNumbersAndOthersNone) {
    const std::wstring base = L"Новая папка";
    EXPECT_EQ(SeriesNumber(base, L"Новая папка"), 1);
    EXPECT_EQ(SeriesNumber(base, L"Новая папка (2)"), 2);
    EXPECT_EQ(SeriesNumber(base, L"Новая папка (500)"), 500);
    for (const wchar_t* other :
         {L"Новая папка (1)", L"Новая папка (0)", L"Новая папка (02)", L"Новая папка (x)",
          L"Новая папка ()", L"Новая папка (2", L"Новая папка 2)", L"Новая папка(2)",
          L"Новая папка2", L"Новая пап", L"New Folder", L"", L"Новая папка (-3)",
          L"Новая папка (99999999999999999999999)"})
        EXPECT_EQ(SeriesNumber(base, other), std::nullopt) << other;
}

TEST(FolderSeriesTest, GapsAreTheNumbersUpToTheLastThatNoNameCarries) {
    const std::vector<long> numbers =
        SeriesNumbers(L"N", {L"N (3)", L"other", L"N", L"N (5)", L"N (2)"});
    EXPECT_EQ(numbers, (std::vector<long>{1, 2, 3, 5}));
    EXPECT_EQ(GapsUpTo(numbers, 5), (std::vector<long>{4}));
    EXPECT_EQ(GapsUpTo(numbers, 7), (std::vector<long>{4, 6, 7}));
    EXPECT_EQ(GapsUpTo(numbers, 3), (std::vector<long>{}));
    EXPECT_EQ(GapsUpTo({}, 2), (std::vector<long>{1, 2}));
    EXPECT_EQ(SeriesName(L"N", 1), L"N");
    EXPECT_EQ(SeriesName(L"N", 12), L"N (12)");
    // Every name the series makes reads back as its own number.
    for (long k = 1; k <= 600; ++k)
        ASSERT_EQ(SeriesNumber(L"New Folder", SeriesName(L"New Folder", k)), k);
}

} // namespace
} // namespace nestora::testing
