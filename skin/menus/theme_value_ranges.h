#pragma once
// The numbers a theme file may give. A theme comes from anyone, and its numbers go straight
// into window sizes, regions, pens and bitmaps: a minimum width of ten million pixels makes
// a window ten million pixels wide, and a picture may decode to many times its file's size.
// So every integer a skinned component reads has a range, every colour is an RGB value or a
// system colour, and pictures have a size limit. A file with a number outside them is
// refused like a damaged one (theme_file_parser.h).
//
// The built-in style table's values lie inside every range (style_table_test.cpp checks each
// one), so a range never refuses a look the program itself ships.
//
// No windows.h: the parser is pure and runs natively under the sanitizers.

#include "skin/form_layout.h"

#include <cstdint>
#include <string_view>

namespace nestora::skin {

struct ThemeIntegerRange {
    std::wstring_view key;
    std::int32_t min;
    std::int32_t max;
};

// The integers skinned components read, by key. Offsets and the buttons' top may go a
// little negative (a picture drawn a few pixels out of the bar is a look); sizes may not.
inline constexpr ThemeIntegerRange kThemeIntegerRanges[] = {
    {L"TitleBarButtonLeftOffsetInt", -256, 256},
    {L"TitleBarButtonRightOffsetInt", -256, 256},
    {L"TitleBarButtonTopInt", -256, 256},
    // A form's smallest width: no minimum at all, up to what fits a small screen.
    {L"FormMinWidthInt", 0, 1024},
    {L"FormRoundCornerInt", 0, 64},
    {L"FormBorderWidthInt", 0, kMaxBorderWidth},
};

// The range of the integer entry under key (any letter case), or null when no skinned
// component reads that key as a plain integer (colours have their own rule below).
const ThemeIntegerRange* FindThemeIntegerRange(std::wstring_view key);

// Colour elements are the keys ending in "Color" (any letter case).
bool IsThemeColourKey(std::wstring_view key);
// An RGB colour ($00BBGGRR) or a system colour ($FF0000nn, nn a COLOR_ index up to
// COLOR_MENUBAR, 30).
bool IsThemeColourValue(std::int32_t value);
inline constexpr std::uint32_t kLastSystemColourIndex = 30;

// The largest picture a theme may hold, each side; and all its pictures together, in pixels
// (two of the largest), since every picture is decoded before the file takes effect.
inline constexpr std::int64_t kMaxThemePictureSide = 4096;
inline constexpr std::int64_t kMaxThemePicturePixels =
    2 * kMaxThemePictureSide * kMaxThemePictureSide;

} // namespace nestora::skin
