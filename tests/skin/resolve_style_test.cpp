// Style resolution without a theme: FromThemeFile falls back to DeepBlue and every other
// byte stays itself. (Themes that have or have not loaded a file are Windows components;
// their four cases are tested with them, in tests/skin/menus/sui_file_theme_test.cpp.)
#include "skin/resolve_style.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nestora::skin {
namespace {

using S = TsuiUIStyle;

TEST(ResolveStyle, FromThemeFileWithoutAThemeFallsBackToDeepBlue) {
    S resolved = S::MacOS;
    EXPECT_FALSE(ResolveStyle(nullptr, S::FromThemeFile, resolved));
    EXPECT_EQ(resolved, S::DeepBlue);
}

TEST(ResolveStyle, BuiltInStylesAndJunkBytesResolveToThemselves) {
    for (int byte : {1, 2, 3, 4, 5, 6, 0x81, 0xFF}) {
        const S style = static_cast<S>(static_cast<std::uint8_t>(byte));
        S resolved = S::FromThemeFile;
        EXPECT_FALSE(ResolveStyle(nullptr, style, resolved)) << byte;
        EXPECT_EQ(resolved, style) << byte;
    }
}

} // namespace
} // namespace nestora::skin
