#include "app/location_path.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

struct UrlCase {
    const wchar_t* url;
    const wchar_t* path;
};

void ExpectPaths(std::initializer_list<UrlCase> cases) {
    for (const auto& c : cases) {
        const auto path = FolderPathFromLocation(c.url);
        ASSERT_TRUE(path.has_value()) << "no path for " << testing::PrintToString(c.url);
        EXPECT_EQ(*path, c.path) << testing::PrintToString(c.url);
    }
}

void ExpectNoPath(std::initializer_list<const wchar_t*> urls) {
    for (const auto* url : urls)
        EXPECT_FALSE(FolderPathFromLocation(url).has_value()) << testing::PrintToString(url);
}

TEST(LocationPath, DriveUrls) {
    ExpectPaths({
        {L"file:///C:/Data", L"C:\\Data"},
        {L"file:///C:/Data/", L"C:\\Data\\"},
        {L"file:///C:/", L"C:\\"},
        {L"file:///D:/a/b/c", L"D:\\a\\b\\c"},
        {L"FILE:///C:/Data", L"C:\\Data"},
        {L"file:///C|/Data", L"C:\\Data"}, // the old form of the drive colon
        {L"file://localhost/C:/x", L"C:\\x"},
        {L"file://LocalHost/C:/x", L"C:\\x"},
        {L"file://C:/x", L"C:\\x"},
        {L"file:C:/x", L"C:\\x"},
        {L"file:/C:/x", L"C:\\x"},
    });
    // Without a drive the path stays rooted, so it can never be taken as relative.
    ExpectPaths({{L"file:///server/share", L"\\server\\share"}});
}

TEST(LocationPath, UncUrls) {
    ExpectPaths({
        {L"file://server/share/dir", L"\\\\server\\share\\dir"},
        {L"file://server/share", L"\\\\server\\share"},
        {L"file:////server/share/dir", L"\\\\server\\share\\dir"},
        {L"file://///server/share/dir", L"\\\\server\\share\\dir"},
        {L"file://server/share/a%20b", L"\\\\server\\share\\a b"},
    });
}

TEST(LocationPath, DecodesEveryEscape) {
    ExpectPaths({
        {L"file:///C:/Data/x%41y%20z", L"C:\\Data\\xAy z"},
        {L"file:///C:/Documents%20and%20Settings/x", L"C:\\Documents and Settings\\x"},
        {L"file:///C:/a%20b/c%20d", L"C:\\a b\\c d"},
        {L"file:///C:/100%25", L"C:\\100%"},
        {L"file:///C:/100%25/%2541", L"C:\\100%\\%41"}, // decoded once, not twice
        {L"file:///C:/a%2fb", L"C:\\a\\b"},
        {L"file:///C:/%7Bx%7D%23", L"C:\\{x}#"},
    });
}

TEST(LocationPath, DecodesEscapedUtf8) {
    ExpectPaths({
        {L"file:///C:/%D0%9D%D0%BE%D0%B2%D0%B0%D1%8F%20%D0%BF%D0%B0%D0%BF%D0%BA%D0%B0",
         L"C:\\Новая папка"},
        {L"file:///C:/caf%c3%a9", L"C:\\café"},
        {L"file:///C:/%E2%82%AC", L"C:\\€"},
        {L"file:///C:/%F0%9F%98%80x", L"C:\\\U0001F600x"},
        {L"file:///C:/Новая папка", L"C:\\Новая папка"}, // the shell may leave letters as they are
    });
}

TEST(LocationPath, KeepsMalformedEscapesAsTheyAre) {
    ExpectPaths({
        {L"file:///C:/a%", L"C:\\a%"},
        {L"file:///C:/a%2", L"C:\\a%2"},
        {L"file:///C:/a%zz", L"C:\\a%zz"},
        {L"file:///C:/a%2x%20", L"C:\\a%2x "},
        {L"file:///C:/%%41", L"C:\\%A"},
    });
}

TEST(LocationPath, RefusesEscapesThatAreNotATextPath) {
    ExpectNoPath({
        L"file:///C:/%C3",          // cut-off sequence at the end
        L"file:///C:/%C3x",         // cut-off sequence before a plain character
        L"file:///C:/%E2%82",       // cut-off three-byte sequence
        L"file:///C:/%FF",          // never a UTF-8 byte
        L"file:///C:/%80",          // continuation without a lead
        L"file:///C:/%C0%AF",       // overlong "/"
        L"file:///C:/%ED%A0%80",    // a surrogate
        L"file:///C:/%F4%90%80%80", // past U+10FFFF
        L"file:///C:/Data%00/x",    // would cut the path short
        L"file:///C:/a%0Ab",        // control character
        L"file:///C:/a\tb",
    });
}

TEST(LocationPath, NoPathForOtherLocations) {
    ExpectNoPath({
        L"",
        L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
        L"http://example.org/C:/x",
        L"search-ms:displayname=x&crumb=location:C%3A%5C",
        L"shell:::{21EC2020-3AEA-1069-A2DD-08002B30309D}",
        L"files:///C:/x",
        L"fil:///C:/x",
        L"C:\\Data",
        L"file:",
        L"file:///",
        L"file://",
    });
}

} // namespace
} // namespace nestora::app
