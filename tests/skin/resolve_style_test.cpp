// Style resolution before any theme can load: FromThemeFile falls back to DeepBlue whether
// or not a theme is given, every other byte stays itself, and no caller is sent to a theme.
#include "skin/resolve_style.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nestora::skin {
namespace {

using S = TsuiUIStyle;

// Any non-null pointer will do: the stand-in must not look behind it.
const TsuiFileTheme* SomeTheme() {
    static const int storage = 0;
    return reinterpret_cast<const TsuiFileTheme*>(&storage);
}

TEST(ResolveStyle, FromThemeFileWithoutALoadedThemeFallsBackToDeepBlue) {
    for (const TsuiFileTheme* theme : {static_cast<const TsuiFileTheme*>(nullptr), SomeTheme()}) {
        S resolved = S::MacOS;
        EXPECT_FALSE(ResolveStyle(theme, S::FromThemeFile, resolved));
        EXPECT_EQ(resolved, S::DeepBlue);
    }
}

TEST(ResolveStyle, BuiltInStylesAndJunkBytesResolveToThemselves) {
    for (int byte : {1, 2, 3, 4, 5, 6, 0x81, 0xFF}) {
        const S style = static_cast<S>(static_cast<std::uint8_t>(byte));
        for (const TsuiFileTheme* theme :
             {static_cast<const TsuiFileTheme*>(nullptr), SomeTheme()}) {
            S resolved = S::FromThemeFile;
            EXPECT_FALSE(ResolveStyle(theme, style, resolved)) << byte;
            EXPECT_EQ(resolved, style) << byte;
        }
    }
}

} // namespace
} // namespace nestora::skin
