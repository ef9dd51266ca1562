// The built-in style table. The rows are the five looks exactly as the skin defines them;
// the key names are the ones theme files use.
#include "skin/style_table.h"

#include <array>

namespace nestora::skin {

namespace {

// One value of a row: a number (integer, colour or flag) or a bitmap resource name.
struct Cell {
    std::int32_t number = 0;
    const wchar_t* name = nullptr;
    constexpr Cell(std::int32_t n) : number(n) {}
    constexpr Cell(const wchar_t* resourceName) : name(resourceName) {}
};

struct ElementRow {
    StyleElementKind kind;
    const wchar_t* keyName;
    // MacOS, WinXP, DeepBlue, Protein, BlueGlass.
    std::array<Cell, 5> values;
};

using K = StyleElementKind;

// clang-format off
constexpr std::array<ElementRow, kLastStyleElement> kTable{{
    {K::Bitmap, L"ButtonImage", {L"MACOS_BUTTON", L"WINXP_BUTTON", L"DEEPBLUE_BUTTON", L"PROTEIN_BUTTON", L"BLUEGLASS_BUTTON"}}, // 1
    {K::Flag, L"ButtonTransparentBool", {1, 0, 0, 0, 1}}, // 2
    {K::Bitmap, L"CheckBoxImage", {L"MACOS_CHECKBOX", L"WINXP_CHECKBOX", L"DEEPBLUE_CHECKBOX", L"PROTEIN_CHECKBOX", L"BLUEGLASS_CHECKBOX"}}, // 3
    {K::Bitmap, L"RadioButtonImage", {L"MACOS_RADIOBUTTON", L"WINXP_RADIOBUTTON", L"DEEPBLUE_RADIOBUTTON", L"PROTEIN_RADIOBUTTON", L"BLUEGLASS_RADIOBUTTON"}}, // 4
    {K::Bitmap, L"TitleBarButtonImage", {L"MACOS_TITLEBTN", L"WINXP_TITLEBTN", L"DEEPBLUE_TITLEBTN", L"PROTEIN_TITLEBTN", L"BLUEGLASS_TITLEBTN"}}, // 5
    {K::Flag, L"TitleBarButtonTransparentBool", {0, 0, 0, 1, 1}}, // 6
    {K::Integer, L"TitleBarButtonLeftOffsetInt", {3, 2, 0, 0, 4}}, // 7
    {K::Integer, L"TitleBarButtonRightOffsetInt", {-2, -2, 0, 0, -3}}, // 8
    {K::Integer, L"TitleBarButtonTopInt", {4, 5, 2, 2, 6}}, // 9
    {K::Bitmap, L"TitleBarLeftImage", {L"MACOS_TITLE_LEFT", L"WINXP_TITLE_LEFT", L"DEEPBLUE_TITLE_LEFT", L"PROTEIN_TITLE_LEFT", L"BLUEGLASS_TITLE_LEFT"}}, // 10
    {K::Bitmap, L"TitleBarClientImage", {L"MACOS_TITLE_CLIENT", L"WINXP_TITLE_CLIENT", L"DEEPBLUE_TITLE_CLIENT", L"PROTEIN_TITLE_CLIENT", L"BLUEGLASS_TITLE_CLIENT"}}, // 11
    {K::Bitmap, L"TitleBarRightImage", {L"MACOS_TITLE_RIGHT", L"WINXP_TITLE_RIGHT", L"DEEPBLUE_TITLE_RIGHT", L"PROTEIN_TITLE_RIGHT", L"BLUEGLASS_TITLE_RIGHT"}}, // 12
    {K::Integer, L"FormMinWidthInt", {130, 150, 130, 130, 270}}, // 13
    {K::Integer, L"FormRoundCornerInt", {0, 13, 0, 0, 11}}, // 14
    {K::Colour, L"FormBackgroundColor", {0x00E7E7E7, 0x00DEEBEF, 0x00E8E8E8, 0x00FBFBFB, 0x00E7E7E7}}, // 15
    {K::Colour, L"FormBorderColor", {0x007F7F7F, 0x00C82C00, 0x00000000, 0x00000000, 0x00000000}}, // 16
    {K::Integer, L"FormBorderWidthInt", {1, 3, 1, 1, 1}}, // 17
    {K::Colour, L"MenuSelectedBorderColor", {0x00C47339, 0x00C66931, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}}, // 18
    {K::Colour, L"MenuSelectedBackgroundColor", {0x00C47339, 0x00EFD3C6, 0x00A04A44, 0x00C4302D, 0x00EC5E5E}}, // 19
    {K::Colour, L"MenuSelectedFontColor", {0x00FFFFFF, 0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}}, // 20
    {K::Colour, L"MenuBackgroundColor", {0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00E7E7E7}}, // 21
    {K::Colour, L"MenuFontColor", {0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000}}, // 22
    {K::Colour, L"MenuBarColor", {0x00000000, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6, 0x00CED3D6}}, // 23
    {K::Bitmap, L"ProgressBarImage", {L"MACOS_PROGRESSBAR", L"WINXP_PROGRESSBAR", L"DEEPBLUE_PROGRESSBAR", L"PROTEIN_PROGRESSBAR", L"BLUEGLASS_PROGRESSBAR"}}, // 24
    {K::Colour, L"ControlBorderColor", {0x007F7F7F, 0x00686868, 0x00000000, 0x00000000, 0x00000000}}, // 25
    {K::Colour, L"ControlBackgroundColor", {0x00E7E7E7, 0x00DEEBEF, 0x00E8E8E8, 0x00FBFBFB, 0x00E7E7E7}}, // 26
    {K::Colour, L"ControlFontColor", {0x00000000, 0x00CF4602, 0x00000000, 0x00000000, 0x00000000}}, // 27
    {K::Bitmap, L"TrackBarBarImage", {L"MACOS_TRACKBAR_BAR", L"WINXP_TRACKBAR_BAR", L"DEEPBLUE_TRACKBAR_BAR", L"PROTEIN_TRACKBAR_BAR", L"BLUEGLASS_TRACKBAR_BAR"}}, // 28
    {K::Bitmap, L"TrackBarSliderImage", {L"MACOS_TRACKBAR_SLIDER", L"WINXP_TRACKBAR_SLIDER", L"DEEPBLUE_TRACKBAR_SLIDER", L"PROTEIN_TRACKBAR_SLIDER", L"BLUEGLASS_TRACKBAR_SLIDER"}}, // 29
    {K::Bitmap, L"TrackBarSliderVImage", {L"MACOS_TRACKBAR_SLIDER_V", L"WINXP_TRACKBAR_SLIDER_V", L"DEEPBLUE_TRACKBAR_SLIDER_V", L"PROTEIN_TRACKBAR_SLIDER_V", L"BLUEGLASS_TRACKBAR_SLIDER_V"}}, // 30
    {K::Colour, L"ScrollBarBackgroundColor", {0x00C9C9C9, 0x00F9F9F9, 0x00F5F5F5, 0x00F5F5F5, 0x00F4F4F4}}, // 31
    {K::Bitmap, L"ScrollBarButtonImage", {L"MACOS_SCROLLBAR_BUTTON", L"WINXP_SCROLLBAR_BUTTON", L"DEEPBLUE_SCROLLBAR_BUTTON", L"PROTEIN_SCROLLBAR_BUTTON", L"BLUEGLASS_SCROLLBAR_BUTTON"}}, // 32
    {K::Bitmap, L"ScrollBarSliderImage", {L"MACOS_SCROLLBAR_TRACK", L"WINXP_SCROLLBAR_TRACK", L"DEEPBLUE_SCROLLBAR_TRACK", L"PROTEIN_SCROLLBAR_TRACK", L"BLUEGLASS_SCROLLBAR_TRACK"}}, // 33
    {K::Bitmap, L"CheckListBoxImage", {L"MACOS_CHECKLIST", L"WINXP_CHECKLIST", L"DEEPBLUE_CHECKLIST", L"PROTEIN_CHECKLIST", L"BLUEGLASS_CHECKLIST"}}, // 34
    {K::Colour, L"ToolBarButtonBorderColor", {0x00474747, 0x00C66931, 0x00474747, 0x00474747, 0x00474747}}, // 35
    {K::Colour, L"ToolBarButtonBackgroundColor", {0x00EFEFEF, 0x00EFD3C6, 0x00EFEFEF, 0x00EFEFEF, 0x00EFEFEF}}, // 36
    {K::Colour, L"ToolBarButtonDownBackgroundColor", {0x00D8D8D8, 0x00E1AC93, 0x00D8D8D8, 0x00D8D8D8, 0x00D8D8D8}}, // 37
    {K::Bitmap, L"ScrollButtonImage", {L"MACOS_SCROLLBUTTON", L"WINXP_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON", L"MORE_SCROLLBUTTON"}}, // 38
    {K::Bitmap, L"TabControlTabImage", {L"MACOS_TAB", L"WINXP_TAB", L"DEEPBLUE_TAB", L"PROTEIN_TAB", L"BLUEGLASS_TAB"}}, // 39
    {K::Bitmap, L"TabControlBarImage", {L"MACOS_TAB_LINE", L"WINXP_TAB_LINE", L"DEEPBLUE_TAB_LINE", L"PROTEIN_TAB_LINE", L"BLUEGLASS_TAB_LINE"}}, // 40
    {K::Bitmap, L"SideChannelHandleImage", {L"MACOS_SIDECHENNEL_HANDLE", L"WINXP_SIDECHENNEL_HANDLE", L"DEEPBLUE_SIDECHENNEL_HANDLE", L"PROTEIN_SIDECHENNEL_HANDLE", L"BLUEGLASS_SIDECHENNEL_HANDLE"}}, // 41
    {K::Bitmap, L"SideChannelBarImage", {L"MACOS_SIDECHENNEL_BAR", L"WINXP_SIDECHENNEL_BAR", L"DEEPBLUE_SIDECHENNEL_BAR", L"PROTEIN_SIDECHENNEL_BAR", L"BLUEGLASS_SIDECHENNEL_BAR"}}, // 42
}};
// clang-format on

constexpr std::array<const wchar_t*, 6> kStyleNames{L"FromThemeFile", L"MacOS",   L"WinXP",
                                                    L"DeepBlue",      L"Protein", L"BlueGlass"};

// Key names and style names are ASCII; folding only ASCII keeps the comparison free of
// locale settings, and a non-ASCII name simply matches nothing.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    auto fold = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? c - L'A' + L'a' : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

const ElementRow* RowOf(StyleElement element) {
    const int n = static_cast<int>(element);
    if (n < kFirstStyleElement || n > kLastStyleElement)
        return nullptr;
    return &kTable[static_cast<std::size_t>(n - kFirstStyleElement)];
}

} // namespace

std::wstring_view StyleName(TsuiUIStyle style) {
    const auto n = static_cast<std::size_t>(style);
    return n < kStyleNames.size() ? kStyleNames[n] : std::wstring_view{};
}

std::optional<TsuiUIStyle> StyleFromName(std::wstring_view name) {
    for (std::size_t n = 0; n < kStyleNames.size(); ++n)
        if (EqualsIgnoringAsciiCase(name, kStyleNames[n]))
            return static_cast<TsuiUIStyle>(n);
    return std::nullopt;
}

std::optional<StyleElementKind> KindOfElement(StyleElement element) {
    const ElementRow* row = RowOf(element);
    return row ? std::optional(row->kind) : std::nullopt;
}

std::wstring_view KeyNameOfElement(StyleElement element) {
    const ElementRow* row = RowOf(element);
    return row ? std::wstring_view(row->keyName) : std::wstring_view{};
}

std::optional<StyleElement> ElementOfKeyName(std::wstring_view keyName) {
    for (int n = kFirstStyleElement; n <= kLastStyleElement; ++n)
        if (EqualsIgnoringAsciiCase(keyName, kTable[static_cast<std::size_t>(n - 1)].keyName))
            return static_cast<StyleElement>(n);
    return std::nullopt;
}

StyleValue LookupStyleElement(TsuiUIStyle style, StyleElement element) {
    // The high bit of the style byte carries no meaning and is ignored.
    const int styleIndex = (static_cast<int>(style) & 0x7F) - 1;
    const ElementRow* row = RowOf(element);
    if (!row || styleIndex < 0 || styleIndex >= 5)
        return {};
    const Cell& cell = row->values[static_cast<std::size_t>(styleIndex)];
    if (row->kind == StyleElementKind::Bitmap)
        return {row->kind, 0, cell.name};
    return {row->kind, cell.number, {}};
}

TColor GetStyleColor(TsuiUIStyle style, StyleElement element) {
    const StyleValue v = LookupStyleElement(style, element);
    return v.kind == StyleElementKind::Colour ? static_cast<TColor>(v.number) : 0;
}

std::int32_t GetStyleInt(TsuiUIStyle style, StyleElement element) {
    const StyleValue v = LookupStyleElement(style, element);
    return v.kind == StyleElementKind::Integer ? v.number : -1;
}

bool GetStyleBool(TsuiUIStyle style, StyleElement element) {
    const StyleValue v = LookupStyleElement(style, element);
    return v.kind == StyleElementKind::Flag && v.number != 0;
}

std::wstring_view StyleBitmapName(TsuiUIStyle style, StyleElement element) {
    const StyleValue v = LookupStyleElement(style, element);
    return v.kind == StyleElementKind::Bitmap ? v.bitmapName : std::wstring_view{};
}

bool PtInRectInclusive(SkinPoint point, SkinRect rect) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
           point.y <= rect.bottom;
}

std::optional<SkinRect> StateCellRect(int stripWidth, int stripHeight, int count, int index) {
    if (count <= 0 || index < 1 || index > count || stripWidth < 0 || stripHeight < 0)
        return std::nullopt;
    const int cellWidth = stripWidth / count;
    return SkinRect{cellWidth * (index - 1), 0, cellWidth * index, stripHeight};
}

} // namespace nestora::skin
