// File URLs against the platform's own reading of them (PathCreateFromUrlW).
#include "app/location_path.h"

#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <array>

namespace nestora::app {
namespace {

std::optional<std::wstring> PlatformPath(const wchar_t* url) {
    std::array<wchar_t, 2048> buffer{};
    DWORD length = static_cast<DWORD>(buffer.size());
    if (FAILED(PathCreateFromUrlW(url, buffer.data(), &length, 0)))
        return std::nullopt;
    return std::wstring(buffer.data(), length);
}

TEST(LocationPathAgainstPlatform, AgreesOnFileUrls) {
    const wchar_t* urls[] = {
        L"file:///C:/Data",
        L"file:///C:/Data/",
        L"file:///C:/",
        L"FILE:///C:/Data",
        L"file:///C|/Data",
        L"file://localhost/C:/x",
        L"file://LocalHost/C:/x",
        L"file://C:/x",
        L"file:C:/x",
        L"file:/C:/x",
        L"file://server/share/dir",
        L"file://server/share",
        L"file:////server/share/dir",
        L"file://///server/share/dir",
        L"file://server/share/a%20b",
        L"file:///server/share",
        L"file:///C:/Data/x%41y%20z",
        L"file:///C:/Documents%20and%20Settings/x",
        L"file:///C:/a%20b/c%20d",
        L"file:///C:/100%25",
        L"file:///C:/100%25/%2541",
        L"file:///C:/%7Bx%7D%23",
        L"file:///C:/a%",
        L"file:///C:/a%2",
        L"file:///C:/a%zz",
        L"file:///C:/a%2x%20",
        L"file:///C:/%%41",
        L"file:///C:/a#b",
        L"file:///C:/\u041D\u043E\u0432\u0430\u044F",
    };
    for (const auto* url : urls) {
        const auto expected = PlatformPath(url);
        ASSERT_TRUE(expected.has_value()) << testing::PrintToString(url);
        EXPECT_EQ(FolderPathFromLocation(url), expected) << testing::PrintToString(url);
    }
}

TEST(LocationPathAgainstPlatform, AgreesOnWhatIsNoFileUrl) {
    for (const auto* url : {L"http://example.org/", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
                            L"C:\\Data", L"fil:///C:/x"}) {
        EXPECT_FALSE(PlatformPath(url).has_value()) << testing::PrintToString(url);
        EXPECT_FALSE(FolderPathFromLocation(url).has_value()) << testing::PrintToString(url);
    }
}

// Where this program deliberately reads a URL otherwise than Wine's PathCreateFromUrlW
// (measured under Wine 8; its answers are in the comments, not asserted, since Windows
// itself may answer otherwise).
TEST(LocationPathAgainstPlatform, KnownDifferences) {
    // Wine takes each escaped byte as a character of its own ("C:\cafÃ©"); the shell
    // escapes names as UTF-8, which is how they are read here.
    EXPECT_EQ(FolderPathFromLocation(L"file:///C:/caf%C3%A9"), L"C:\\caf\u00E9");
    // Wine cuts the path at an escaped NUL ("C:\Data"): the folder would be made in the
    // wrong place. No path at all is given here.
    EXPECT_FALSE(FolderPathFromLocation(L"file:///C:/Data%00/x").has_value());
    // An escaped slash: Wine keeps it ("C:\a/b"), here it is a backslash; the same folder.
    EXPECT_EQ(FolderPathFromLocation(L"file:///C:/a%2fb"), L"C:\\a\\b");
    // Nothing after the scheme or the host: Wine gives "", "\" or "\\", no folder here.
    for (const auto* url : {L"file:", L"file:///", L"file://"})
        EXPECT_FALSE(FolderPathFromLocation(url).has_value()) << testing::PrintToString(url);
}

} // namespace
} // namespace nestora::app
