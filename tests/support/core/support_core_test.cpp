// The test helpers' own logic: the round counts a soak run raises, build paths as Wine
// sees them, and reading a folder's listing back as a series of new-folder names.
#include "tests/support/core/folder_series.h"
#include "tests/support/core/round_counts.h"
#include "tests/support/core/shell_server_options.h"
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

// The server's command line as the session writes it and the server reads it back: a
// quoting or ordering slip would open other windows than the test asked for.
TEST(ShellServerOptionsTest, WhatASessionWritesTheServerReadsBack) {
    ServerWindowOptions tabbed{{L"C:\\a b", L"C:\\c"}};
    tabbed.tabbed = true;
    tabbed.activeTab = 1;
    ServerWindowOptions minimised{{L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}};
    minimised.minimised = true;
    ServerWindowOptions selecting{{L"C:\\d"}};
    selecting.selected = {L"one file.txt", L"два"};
    ServerOptions options;
    options.record = L"C:\\r.txt";
    options.windows = {tabbed, minimised, selecting};
    options.front = 2;
    options.endAfterCount = 0;

    const std::wstring line = ServerArguments(options);
    // As CommandLineToArgvW splits it: every argument is quoted and holds no quote.
    std::vector<std::wstring> arguments;
    for (std::size_t at = line.find(L'"'); at != std::wstring::npos;) {
        const std::size_t end = line.find(L'"', at + 1);
        ASSERT_NE(end, std::wstring::npos);
        arguments.push_back(line.substr(at + 1, end - at - 1));
        at = line.find(L'"', end + 1);
    }
    const auto read = ParseServerOptions(arguments);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->record, options.record);
    ASSERT_EQ(read->windows.size(), 3u);
    EXPECT_EQ(read->windows[0].folders, tabbed.folders);
    EXPECT_TRUE(read->windows[0].tabbed);
    EXPECT_EQ(read->windows[0].activeTab, 1u);
    EXPECT_FALSE(read->windows[0].minimised);
    EXPECT_TRUE(read->windows[1].minimised);
    EXPECT_FALSE(read->windows[1].tabbed);
    EXPECT_EQ(read->windows[2].folders, std::vector<std::wstring>{L"C:\\d"});
    EXPECT_TRUE(read->windows[0].selected.empty());
    EXPECT_EQ(read->windows[2].selected, selecting.selected);
    EXPECT_EQ(read->front, 2u);
    EXPECT_EQ(read->endAfterCount, 0u);
    EXPECT_FALSE(read->desktopInFront);
}

TEST(ShellServerOptionsTest, ACommandLineThatMakesNoSenseIsRefused) {
    EXPECT_TRUE(ParseServerOptions({}));
    EXPECT_FALSE(ParseServerOptions({L"--tab", L"C:\\a"})); // no window yet
    EXPECT_FALSE(ParseServerOptions({L"--window", L"C:\\a", L"--active-tab", L"1"}));
    EXPECT_FALSE(ParseServerOptions({L"--window", L"C:\\a", L"--front", L"1"}));
    EXPECT_FALSE(ParseServerOptions({L"--window", L"C:\\a", L"--front", L"x"}));
    EXPECT_FALSE(ParseServerOptions({L"--window", L"C:\\a", L"--end-after-count", L"1"}));
    EXPECT_FALSE(ParseServerOptions({L"--front", L"desktop"})); // no desktop to bring
    EXPECT_FALSE(ParseServerOptions({L"--window"}));
    EXPECT_FALSE(ParseServerOptions({L"--windows", L"C:\\a"}));
    EXPECT_FALSE(ParseServerOptions({L"--select", L"x"})); // no window yet
    EXPECT_FALSE(ParseServerOptions({L"--window", L"C:\\a", L"--select", L""}));
    const auto desktop = ParseServerOptions({L"--desktop", L"C:\\d", L"--front", L"desktop"});
    ASSERT_TRUE(desktop);
    EXPECT_TRUE(desktop->desktopInFront);
    EXPECT_FALSE(desktop->front);
}

TEST(ShellServerOptionsTest, ARecordLineKeepsANameWithBlanksWhole) {
    const auto call = ParseRecordedCall(L"call w0t1 SelectItem 0x1F Новая папка (2)\r");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->kind, L"call");
    EXPECT_EQ(call->who, L"w0t1");
    EXPECT_EQ(call->member, L"SelectItem");
    EXPECT_EQ(call->argument, L"0x1F Новая папка (2)");
    const auto item = ParseRecordedCall(L"invoke windows Item 2");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->argument, L"2");
    EXPECT_EQ(ParseRecordedCall(L"invoke windows Count")->argument, L"");
    EXPECT_FALSE(ParseRecordedCall(L"ready"));
    EXPECT_FALSE(ParseRecordedCall(L"window 0 0x10 0x10"));
}

} // namespace
} // namespace nestora::testing
