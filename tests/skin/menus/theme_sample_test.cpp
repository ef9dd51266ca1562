// The sample theme that ships in resources/themes: the committed file is exactly what the
// build makes from its list and pictures, it gives every element the frame and the menus
// read, its pictures fit together, and damaged copies of it never get past the parser.
#include "skin/menus/theme_file_loader.h"
#include "skin/menus/theme_file_parser.h"
#include "skin/style_table.h"

#include "theme_file_mutation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using nestora::skin::StyleElement;
using nestora::skin::StyleElementKind;
using nestora::skin::ThemeFile;

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ThemeFile Sample() {
    return nestora::skin::LoadThemeFile(SAMPLE_THEME_COMMITTED);
}

struct BmpSize {
    std::int32_t width = 0, height = 0;
};

BmpSize SizeOf(std::span<const std::uint8_t> bmp) {
    auto i32 = [&](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bmp[at + 3]) << 24);
    };
    return {i32(18), i32(22)};
}

TEST(SampleTheme, TheCommittedFileIsWhatTheBuildMakes) {
    const auto built = ReadAll(SAMPLE_THEME_BUILT);
    const auto committed = ReadAll(SAMPLE_THEME_COMMITTED);
    ASSERT_FALSE(built.empty());
    EXPECT_TRUE(built == committed) << "resources/themes/sample.theme is out of date: copy "
                                    << SAMPLE_THEME_BUILT << " over it";
}

TEST(SampleTheme, GivesEveryElementTheFrameAndTheMenusRead) {
    const ThemeFile theme = Sample();
    for (int number = 5; number <= 23; ++number) {
        const auto element = static_cast<StyleElement>(number);
        const std::wstring key(nestora::skin::KeyNameOfElement(element));
        ASSERT_FALSE(key.empty()) << number;
        switch (*nestora::skin::KindOfElement(element)) {
        case StyleElementKind::Bitmap:
            EXPECT_TRUE(theme.Bitmap(key).has_value()) << number;
            break;
        case StyleElementKind::Flag:
            EXPECT_TRUE(theme.FindFlag(key).has_value()) << number;
            break;
        case StyleElementKind::Integer:
        case StyleElementKind::Colour:
            EXPECT_TRUE(theme.FindInteger(key).has_value()) << number;
            break;
        }
    }
}

TEST(SampleTheme, PicturesFitTogether) {
    const ThemeFile theme = Sample();
    const BmpSize left = SizeOf(*theme.Bitmap(L"TitleBarLeftImage"));
    const BmpSize client = SizeOf(*theme.Bitmap(L"TitleBarClientImage"));
    const BmpSize right = SizeOf(*theme.Bitmap(L"TitleBarRightImage"));
    const BmpSize strip = SizeOf(*theme.Bitmap(L"TitleBarButtonImage"));
    // The title bar takes its height from the left picture; the others must match it.
    EXPECT_EQ(client.height, left.height);
    EXPECT_EQ(right.height, left.height);
    // 18 square cells side by side, standing inside the bar at the theme's top offset.
    EXPECT_EQ(strip.width, 18 * strip.height);
    EXPECT_LE(theme.Integer(L"TitleBarButtonTopInt") + strip.height, left.height);
    EXPECT_GE(theme.Integer(L"TitleBarButtonTopInt"), 0);
}

TEST(SampleTheme, DamagedCopiesLoadOrAreRefused) {
    const auto original = ReadAll(SAMPLE_THEME_COMMITTED);
    ASSERT_FALSE(original.empty());
    const auto cut = nestora::theme_test::TryTruncations(original);
    EXPECT_EQ(cut.crashedOrWrong, 0u) << cut.firstProblem;
    EXPECT_EQ(cut.refused, original.size());
    const auto mutated = nestora::theme_test::TryMutations(original, 1000, 7);
    EXPECT_EQ(mutated.crashedOrWrong, 0u) << mutated.firstProblem;
    EXPECT_GT(mutated.loaded, 0u);
    EXPECT_GT(mutated.refused, 0u);
}

} // namespace
