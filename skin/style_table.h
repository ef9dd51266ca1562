// The skin's built-in looks as plain data: the five UI styles, the 42 style elements of
// each, and the typed lookups every skinned component reads its bitmaps, colours, numbers
// and flags through.
//
// Everything here is constant and needs no window system, so the same table serves the
// program, the theme-file reader (which names elements by their key names) and the
// artwork generator (which draws a bitmap for every name the frame and the menus load).
// The Windows side that turns a bitmap name into a loaded resource builds on
// StyleBitmapName().
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace nestora::skin {

// $00BBGGRR: red in the low byte. A high byte of $FF marks a system colour whose index is
// the low byte ($FF000007 is the menu text colour).
using TColor = std::uint32_t;

// Stored in one byte. Components may hold any byte (a window description or a theme can
// carry junk); the lookups below define what such a byte means instead of trusting it.
enum class TsuiUIStyle : std::uint8_t {
    FromThemeFile = 0,
    MacOS = 1,
    WinXP = 2,
    DeepBlue = 3,
    Protein = 4,
    BlueGlass = 5,
};

// The streaming name of a style ("MacOS"); empty for a byte that names no style.
std::wstring_view StyleName(TsuiUIStyle style);
// The style of a streaming name, ignoring letter case; nothing for an unknown name.
std::optional<TsuiUIStyle> StyleFromName(std::wstring_view name);

// Style elements, numbered as theme files and window descriptions number them. The
// enumerators carry the elements' key names.
enum class StyleElement : std::uint8_t {
    ButtonImage = 1,
    ButtonTransparentBool = 2,
    CheckBoxImage = 3,
    RadioButtonImage = 4,
    TitleBarButtonImage = 5,
    TitleBarButtonTransparentBool = 6,
    TitleBarButtonLeftOffsetInt = 7,
    TitleBarButtonRightOffsetInt = 8,
    TitleBarButtonTopInt = 9,
    TitleBarLeftImage = 10,
    TitleBarClientImage = 11,
    TitleBarRightImage = 12,
    FormMinWidthInt = 13,
    FormRoundCornerInt = 14,
    FormBackgroundColor = 15,
    FormBorderColor = 16,
    FormBorderWidthInt = 17,
    MenuSelectedBorderColor = 18,
    MenuSelectedBackgroundColor = 19,
    MenuSelectedFontColor = 20,
    MenuBackgroundColor = 21,
    MenuFontColor = 22,
    MenuBarColor = 23,
    ProgressBarImage = 24,
    ControlBorderColor = 25,
    ControlBackgroundColor = 26,
    ControlFontColor = 27,
    TrackBarBarImage = 28,
    TrackBarSliderImage = 29,
    TrackBarSliderVImage = 30,
    ScrollBarBackgroundColor = 31,
    ScrollBarButtonImage = 32,
    ScrollBarSliderImage = 33,
    CheckListBoxImage = 34,
    ToolBarButtonBorderColor = 35,
    ToolBarButtonBackgroundColor = 36,
    ToolBarButtonDownBackgroundColor = 37,
    ScrollButtonImage = 38,
    TabControlTabImage = 39,
    TabControlBarImage = 40,
    SideChannelHandleImage = 41,
    SideChannelBarImage = 42,
};

inline constexpr int kFirstStyleElement = 1;
inline constexpr int kLastStyleElement = 42;

// The same for every style; the numbers are those theme tools and descriptions use.
enum class StyleElementKind : std::uint8_t {
    Integer = 0,
    Colour = 1,
    Bitmap = 2,
    Flag = 3,
};

// Kind of an element; nothing for a number outside 1..42.
std::optional<StyleElementKind> KindOfElement(StyleElement element);
// Key name of an element ("MenuBarColor"); empty for a number outside 1..42.
std::wstring_view KeyNameOfElement(StyleElement element);
// Element of a key name, ignoring letter case as theme files do; nothing when unknown.
std::optional<StyleElement> ElementOfKeyName(std::wstring_view keyName);

// One cell of the table. `number` holds integers, colours (as their 32 bits) and flags
// (0 or 1); `bitmapName` holds the resource name of a bitmap element and is empty otherwise.
struct StyleValue {
    StyleElementKind kind = StyleElementKind::Integer;
    std::int32_t number = -1;
    std::wstring_view bitmapName;
};

// The raw table lookup. Only the low seven bits of the style byte count. Styles 1 to 5 give
// the element's kind and that style's value; any other style, FromThemeFile included, and
// any element outside 1..42 give "no value": kind Integer, number -1.
StyleValue LookupStyleElement(TsuiUIStyle style, StyleElement element);

// Typed lookups: each answers its neutral value when the element is of another kind.
TColor GetStyleColor(TsuiUIStyle style, StyleElement element);     // 0 (black) otherwise
std::int32_t GetStyleInt(TsuiUIStyle style, StyleElement element); // -1 otherwise
bool GetStyleBool(TsuiUIStyle style, StyleElement element);        // false otherwise
// The bitmap resource name of the element; empty when the element is not a bitmap (the
// caller then leaves its destination unchanged).
std::wstring_view StyleBitmapName(TsuiUIStyle style, StyleElement element);

// Plain geometry, so hit testing and painting can share it without windows.h.
struct SkinPoint {
    int x = 0;
    int y = 0;
};

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// True when left <= x <= right and top <= y <= bottom: unlike the usual half-open rule,
// the right and bottom edges count as inside.
bool PtInRectInclusive(SkinPoint point, SkinRect rect);

// The source rectangle of cell `index` (1-based) of a strip of `count` equal cells laid
// side by side: cell width = strip width / count (integer division), full strip height.
// Nothing when count is not positive or index is outside 1..count, so a bad cell request
// can neither divide by zero nor read beside the strip.
std::optional<SkinRect> StateCellRect(int stripWidth, int stripHeight, int count, int index);

} // namespace nestora::skin
