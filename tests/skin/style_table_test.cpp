// The style table is data the whole skin trusts: a wrong cell shows up as a wrong colour,
// a missing bitmap or a mis-placed button. These checks restate the table's values
// independently of how the table is stored, and pin down the rules for bytes and elements
// that name nothing.
#include "skin/style_table.h"

#include "skin/menus/theme_value_ranges.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace nestora::skin {
namespace {

using E = StyleElement;
using S = TsuiUIStyle;

constexpr std::array<S, 5> kBuiltIn{S::MacOS, S::WinXP, S::DeepBlue, S::Protein, S::BlueGlass};

std::wstring BitmapOf(S style, E element) {
    return std::wstring(StyleBitmapName(style, element));
}

TEST(StyleTable, ColoursOfTheFrameAndMenuElementsForEveryStyle) {
    struct Row {
        E element;
        std::array<TColor, 5> values; // MacOS .. BlueGlass
    };
    const Row rows[] = {
        {E::FormBackgroundColor, {0x00E7E7E7, 0x00DEEBEF, 0x00E8E8E8, 0x00FBFBFB, 0x00E7E7E7}},
        {E::FormBorderColor, {0x007F7F7F, 0x00C82C00, 0, 0, 0}},
        {E::MenuSelectedBorderColor, {0x00C47339, 0x00C66931, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}},
        {E::MenuSelectedBackgroundColor,
         {0x00C47339, 0x00EFD3C6, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}},
        {E::MenuSelectedFontColor, {0x00FFFFFF, 0, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}},
        {E::MenuBackgroundColor, {0, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00E7E7E7}},
        {E::MenuFontColor, {0, 0, 0, 0, 0}},
        {E::MenuBarColor, {0, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6}},
    };
    for (const Row& row : rows)
        for (std::size_t s = 0; s < 5; ++s) {
            EXPECT_EQ(KindOfElement(row.element), StyleElementKind::Colour);
            EXPECT_EQ(GetStyleColor(kBuiltIn[s], row.element), row.values[s])
                << "element " << static_cast<int>(row.element) << ", style " << s + 1;
        }
}

TEST(StyleTable, IntegersOfTheFrameForEveryStyle) {
    struct Row {
        E element;
        std::array<int, 5> values;
    };
    const Row rows[] = {
        {E::TitleBarButtonLeftOffsetInt, {3, 2, 0, 0, 4}},
        {E::TitleBarButtonRightOffsetInt, {-2, -2, 0, 0, -3}},
        {E::TitleBarButtonTopInt, {4, 5, 2, 2, 6}},
        {E::FormMinWidthInt, {130, 150, 130, 130, 270}},
        {E::FormRoundCornerInt, {0, 13, 0, 0, 11}},
        {E::FormBorderWidthInt, {1, 3, 1, 1, 1}},
    };
    for (const Row& row : rows)
        for (std::size_t s = 0; s < 5; ++s)
            EXPECT_EQ(GetStyleInt(kBuiltIn[s], row.element), row.values[s])
                << "element " << static_cast<int>(row.element) << ", style " << s + 1;
}

// A theme file is held to ranges; the program's own looks must never fall outside them,
// or a theme written from a built-in style would be refused. Every integer and colour
// element of every style is covered, so a new element without a range fails here too.
TEST(StyleTable, EveryIntegerAndColourLiesInsideTheRangeThemeFilesAreHeldTo) {
    int checked = 0;
    for (int n = kFirstStyleElement; n <= kLastStyleElement; ++n) {
        const auto element = static_cast<E>(n);
        const std::wstring_view key = KeyNameOfElement(element);
        const auto kind = KindOfElement(element);
        ASSERT_TRUE(kind.has_value());
        if (*kind == StyleElementKind::Integer) {
            const ThemeIntegerRange* range = FindThemeIntegerRange(key);
            ASSERT_NE(range, nullptr) << "no range for element " << n;
            for (std::size_t s = 0; s < 5; ++s) {
                const std::int32_t value = GetStyleInt(kBuiltIn[s], element);
                EXPECT_GE(value, range->min) << "element " << n << ", style " << s + 1;
                EXPECT_LE(value, range->max) << "element " << n << ", style " << s + 1;
                ++checked;
            }
        } else if (*kind == StyleElementKind::Colour) {
            EXPECT_TRUE(IsThemeColourKey(key)) << "element " << n;
            EXPECT_EQ(FindThemeIntegerRange(key), nullptr) << "element " << n;
            for (std::size_t s = 0; s < 5; ++s) {
                EXPECT_TRUE(IsThemeColourValue(
                    static_cast<std::int32_t>(GetStyleColor(kBuiltIn[s], element))))
                    << "element " << n << ", style " << s + 1;
                ++checked;
            }
        } else {
            EXPECT_FALSE(IsThemeColourKey(key)) << "element " << n;
            EXPECT_EQ(FindThemeIntegerRange(key), nullptr) << "element " << n;
        }
    }
    // 6 integer and 15 colour elements, 5 styles each.
    EXPECT_EQ(checked, (6 + 15) * 5);
}

TEST(StyleTable, FlagsForEveryStyle) {
    const std::array<bool, 5> button{true, false, false, false, true};
    const std::array<bool, 5> titleButton{false, false, false, true, true};
    for (std::size_t s = 0; s < 5; ++s) {
        EXPECT_EQ(GetStyleBool(kBuiltIn[s], E::ButtonTransparentBool), button[s]) << s + 1;
        EXPECT_EQ(GetStyleBool(kBuiltIn[s], E::TitleBarButtonTransparentBool), titleButton[s])
            << s + 1;
    }
}

TEST(StyleTable, BitmapNamesFollowThePrefixRuleWithItsTwoQuirks) {
    const std::array<std::wstring, 5> prefix{L"MACOS", L"WINXP", L"DEEPBLUE", L"PROTEIN",
                                             L"BLUEGLASS"};
    struct Row {
        E element;
        const wchar_t* suffix;
    };
    const Row rows[] = {
        {E::ButtonImage, L"_BUTTON"},
        {E::CheckBoxImage, L"_CHECKBOX"},
        {E::RadioButtonImage, L"_RADIOBUTTON"},
        {E::TitleBarButtonImage, L"_TITLEBTN"},
        {E::TitleBarLeftImage, L"_TITLE_LEFT"},
        {E::TitleBarClientImage, L"_TITLE_CLIENT"},
        {E::TitleBarRightImage, L"_TITLE_RIGHT"},
        {E::ProgressBarImage, L"_PROGRESSBAR"},
        {E::TrackBarBarImage, L"_TRACKBAR_BAR"},
        {E::TrackBarSliderImage, L"_TRACKBAR_SLIDER"},
        {E::TrackBarSliderVImage, L"_TRACKBAR_SLIDER_V"},
        {E::ScrollBarButtonImage, L"_SCROLLBAR_BUTTON"},
        {E::ScrollBarSliderImage, L"_SCROLLBAR_TRACK"},
        {E::CheckListBoxImage, L"_CHECKLIST"},
        {E::TabControlTabImage, L"_TAB"},
        {E::TabControlBarImage, L"_TAB_LINE"},
        // The misspelling is the resource's real name.
        {E::SideChannelHandleImage, L"_SIDECHENNEL_HANDLE"},
        {E::SideChannelBarImage, L"_SIDECHENNEL_BAR"},
    };
    for (const Row& row : rows)
        for (std::size_t s = 0; s < 5; ++s)
            EXPECT_EQ(BitmapOf(kBuiltIn[s], row.element), prefix[s] + row.suffix);

    // Three styles share one scroll button.
    EXPECT_EQ(BitmapOf(S::MacOS, E::ScrollButtonImage), L"MACOS_SCROLLBUTTON");
    EXPECT_EQ(BitmapOf(S::WinXP, E::ScrollButtonImage), L"WINXP_SCROLLBUTTON");
    for (S s : {S::DeepBlue, S::Protein, S::BlueGlass})
        EXPECT_EQ(BitmapOf(s, E::ScrollButtonImage), L"MORE_SCROLLBUTTON");
}

TEST(StyleTable, ControlColoursOfTheOtherElements) {
    EXPECT_EQ(GetStyleColor(S::WinXP, E::ControlBorderColor), 0x00686868u);
    EXPECT_EQ(GetStyleColor(S::Protein, E::ControlBackgroundColor), 0x00FBFBFBu);
    EXPECT_EQ(GetStyleColor(S::WinXP, E::ControlFontColor), 0x00CF4602u);
    EXPECT_EQ(GetStyleColor(S::MacOS, E::ScrollBarBackgroundColor), 0x00C9C9C9u);
    EXPECT_EQ(GetStyleColor(S::BlueGlass, E::ScrollBarBackgroundColor), 0x00F4F4F4u);
    EXPECT_EQ(GetStyleColor(S::DeepBlue, E::ToolBarButtonBorderColor), 0x00474747u);
    EXPECT_EQ(GetStyleColor(S::WinXP, E::ToolBarButtonBackgroundColor), 0x00EFD3C6u);
    EXPECT_EQ(GetStyleColor(S::WinXP, E::ToolBarButtonDownBackgroundColor), 0x00E1AC93u);
    EXPECT_EQ(GetStyleColor(S::Protein, E::ToolBarButtonDownBackgroundColor), 0x00D8D8D8u);
}

TEST(StyleTable, EveryElementHasTheKindOfItsName) {
    // The key names end in the kind for integers and flags; colours end in "Color", bitmaps
    // in "Image". A row whose kind and name disagree would be read as the wrong type.
    for (int n = kFirstStyleElement; n <= kLastStyleElement; ++n) {
        const auto element = static_cast<E>(n);
        const std::wstring key(KeyNameOfElement(element));
        ASSERT_FALSE(key.empty()) << n;
        const auto kind = KindOfElement(element);
        ASSERT_TRUE(kind.has_value()) << n;
        auto endsWith = [&](const std::wstring& tail) {
            return key.size() > tail.size() &&
                   key.compare(key.size() - tail.size(), tail.size(), tail) == 0;
        };
        switch (*kind) {
        case StyleElementKind::Integer:
            EXPECT_TRUE(endsWith(L"Int")) << key;
            break;
        case StyleElementKind::Colour:
            EXPECT_TRUE(endsWith(L"Color")) << key;
            break;
        case StyleElementKind::Bitmap:
            EXPECT_TRUE(endsWith(L"Image")) << key;
            for (S s : kBuiltIn)
                EXPECT_FALSE(StyleBitmapName(s, element).empty()) << key;
            break;
        case StyleElementKind::Flag:
            EXPECT_TRUE(endsWith(L"Bool")) << key;
            break;
        }
    }
    EXPECT_EQ(static_cast<int>(StyleElementKind::Integer), 0);
    EXPECT_EQ(static_cast<int>(StyleElementKind::Colour), 1);
    EXPECT_EQ(static_cast<int>(StyleElementKind::Bitmap), 2);
    EXPECT_EQ(static_cast<int>(StyleElementKind::Flag), 3);
}

TEST(StyleLookup, TypedLookupsGiveTheirNeutralValueForAnotherKind) {
    EXPECT_EQ(GetStyleInt(S::MacOS, E::FormBackgroundColor), -1);  // colour
    EXPECT_EQ(GetStyleColor(S::WinXP, E::FormRoundCornerInt), 0u); // integer 13
    EXPECT_EQ(GetStyleColor(S::MacOS, E::ButtonTransparentBool), 0u);
    EXPECT_FALSE(GetStyleBool(S::WinXP, E::FormBorderWidthInt)); // integer 3, not a flag
    EXPECT_EQ(GetStyleInt(S::MacOS, E::ButtonTransparentBool), -1);
    EXPECT_TRUE(StyleBitmapName(S::MacOS, E::FormBorderColor).empty());
    EXPECT_TRUE(StyleBitmapName(S::WinXP, E::TitleBarButtonTopInt).empty());
    EXPECT_EQ(GetStyleInt(S::MacOS, E::TitleBarButtonImage), -1);
}

TEST(StyleLookup, FromThemeFileAndUnknownStylesHaveNoValue) {
    for (int byte : {0, 6, 0x7F, 0x80, 0xFF}) {
        const auto style = static_cast<S>(byte);
        const StyleValue v = LookupStyleElement(style, E::TitleBarButtonTopInt);
        EXPECT_EQ(v.kind, StyleElementKind::Integer) << byte;
        EXPECT_EQ(v.number, -1) << byte;
        EXPECT_EQ(GetStyleInt(style, E::TitleBarButtonTopInt), -1) << byte;
        EXPECT_EQ(GetStyleColor(style, E::FormBackgroundColor), 0u) << byte;
        EXPECT_FALSE(GetStyleBool(style, E::TitleBarButtonTransparentBool)) << byte;
        EXPECT_TRUE(StyleBitmapName(style, E::TitleBarButtonImage).empty()) << byte;
    }
}

TEST(StyleLookup, OnlyTheLowSevenBitsOfTheStyleByteCount) {
    for (int n = kFirstStyleElement; n <= kLastStyleElement; ++n) {
        const auto element = static_cast<E>(n);
        for (int style = 1; style <= 5; ++style) {
            const StyleValue plain = LookupStyleElement(static_cast<S>(style), element);
            const StyleValue high = LookupStyleElement(static_cast<S>(style | 0x80), element);
            EXPECT_EQ(high.kind, plain.kind);
            EXPECT_EQ(high.number, plain.number);
            EXPECT_EQ(high.bitmapName, plain.bitmapName);
        }
    }
    EXPECT_EQ(GetStyleInt(static_cast<S>(0x81), E::TitleBarButtonTopInt), 4);
    EXPECT_EQ(StyleBitmapName(static_cast<S>(0x81), E::TitleBarButtonImage), L"MACOS_TITLEBTN");
}

TEST(StyleLookup, ElementsOutsideTheTableHaveNoValue) {
    for (int n : {0, 43, 200, 255}) {
        const auto element = static_cast<E>(n);
        const StyleValue v = LookupStyleElement(S::MacOS, element);
        EXPECT_EQ(v.kind, StyleElementKind::Integer) << n;
        EXPECT_EQ(v.number, -1) << n;
        EXPECT_EQ(GetStyleInt(S::DeepBlue, element), -1) << n;
        EXPECT_TRUE(StyleBitmapName(S::MacOS, element).empty()) << n;
        EXPECT_FALSE(KindOfElement(element).has_value()) << n;
        EXPECT_TRUE(KeyNameOfElement(element).empty()) << n;
    }
}

TEST(StyleNames, EveryStyleStreamsByItsNameAndBack) {
    const wchar_t* names[] = {L"FromThemeFile", L"MacOS",   L"WinXP",
                              L"DeepBlue",      L"Protein", L"BlueGlass"};
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(StyleName(static_cast<S>(n)), names[n]);
        EXPECT_EQ(StyleFromName(names[n]), static_cast<S>(n));
    }
    EXPECT_EQ(StyleFromName(L"macos"), S::MacOS);
    EXPECT_EQ(StyleFromName(L"DEEPBLUE"), S::DeepBlue);
    EXPECT_FALSE(StyleFromName(L"").has_value());
    EXPECT_FALSE(StyleFromName(L"Mac OS").has_value());
    EXPECT_FALSE(StyleFromName(L"MacOS ").has_value());
    EXPECT_TRUE(StyleName(static_cast<S>(6)).empty());
    EXPECT_TRUE(StyleName(static_cast<S>(0x81)).empty());
}

TEST(StyleKeyNames, EveryKeyNameLeadsBackToItsElement) {
    for (int n = kFirstStyleElement; n <= kLastStyleElement; ++n) {
        const auto element = static_cast<E>(n);
        const std::wstring key(KeyNameOfElement(element));
        EXPECT_EQ(ElementOfKeyName(key), element) << n;
        std::wstring upper = key, lower = key;
        for (auto& c : upper)
            c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        for (auto& c : lower)
            c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        EXPECT_EQ(ElementOfKeyName(upper), element) << n;
        EXPECT_EQ(ElementOfKeyName(lower), element) << n;
    }
    EXPECT_EQ(KeyNameOfElement(E::ButtonImage), L"ButtonImage");
    EXPECT_EQ(KeyNameOfElement(E::TitleBarButtonTopInt), L"TitleBarButtonTopInt");
    EXPECT_EQ(KeyNameOfElement(E::MenuBarColor), L"MenuBarColor");
    EXPECT_EQ(KeyNameOfElement(E::SideChannelBarImage), L"SideChannelBarImage");
    EXPECT_FALSE(ElementOfKeyName(L"").has_value());
    EXPECT_FALSE(ElementOfKeyName(L"MenuBarColour").has_value());
    EXPECT_FALSE(ElementOfKeyName(std::wstring_view(L"MenuBarColor\0", 13)).has_value());
}

TEST(Geometry, PtInRectInclusiveCountsAllFourEdgesAsInside) {
    const SkinRect r{10, 20, 30, 40};
    EXPECT_TRUE(PtInRectInclusive({10, 20}, r));
    EXPECT_TRUE(PtInRectInclusive({30, 40}, r)); // right-bottom corner
    EXPECT_TRUE(PtInRectInclusive({30, 25}, r)); // right edge
    EXPECT_TRUE(PtInRectInclusive({15, 40}, r)); // bottom edge
    EXPECT_FALSE(PtInRectInclusive({31, 25}, r));
    EXPECT_FALSE(PtInRectInclusive({15, 41}, r));
    EXPECT_FALSE(PtInRectInclusive({9, 25}, r));
    EXPECT_FALSE(PtInRectInclusive({15, 19}, r));
    EXPECT_TRUE(PtInRectInclusive({-5, -5}, {-5, -5, -5, -5})); // a one-point rectangle
    EXPECT_FALSE(PtInRectInclusive({0, 0}, {5, 5, 0, 0}));      // an inverted one holds nothing
}

TEST(Geometry, StateCellsOfAStrip) {
    // Cell 18 of the 306-pixel MacOS strip: pixels 289 to 305, 17 by 17.
    const auto last = StateCellRect(306, 17, 18, 18);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->left, 289);
    EXPECT_EQ(last->right, 306); // exclusive: the last pixel copied is 305
    EXPECT_EQ(last->Width(), 17);
    EXPECT_EQ(last->Height(), 17);
    const auto first = StateCellRect(306, 17, 18, 1);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->left, 0);
    EXPECT_EQ(first->right, 17);
    // A strip that doesn't divide evenly drops the remainder at the right.
    const auto odd = StateCellRect(20, 7, 3, 3);
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->left, 12);
    EXPECT_EQ(odd->right, 18);
    // Requests that name no cell.
    EXPECT_FALSE(StateCellRect(306, 17, 0, 1).has_value());
    EXPECT_FALSE(StateCellRect(306, 17, -3, 1).has_value());
    EXPECT_FALSE(StateCellRect(306, 17, 18, 0).has_value());
    EXPECT_FALSE(StateCellRect(306, 17, 18, 19).has_value());
}

} // namespace
} // namespace nestora::skin
