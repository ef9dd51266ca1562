#include "skin/menus/theme_value_ranges.h"

namespace nestora::skin {

namespace {

wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

} // namespace

const ThemeIntegerRange* FindThemeIntegerRange(std::wstring_view key) {
    for (const ThemeIntegerRange& range : kThemeIntegerRanges) {
        if (EqualsIgnoringAsciiCase(range.key, key))
            return &range;
    }
    return nullptr;
}

bool IsThemeColourKey(std::wstring_view key) {
    constexpr std::wstring_view kSuffix = L"Color";
    return key.size() >= kSuffix.size() &&
           EqualsIgnoringAsciiCase(key.substr(key.size() - kSuffix.size()), kSuffix);
}

bool IsThemeColourValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    if ((bits & 0xFF000000u) == 0)
        return true;
    return (bits & 0xFFFFFF00u) == 0xFF000000u && (bits & 0xFFu) <= kLastSystemColourIndex;
}

} // namespace nestora::skin
