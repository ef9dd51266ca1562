#pragma once
// The text by which a window description names a picture in the program's resources.
//
//   NAME            the whole BITMAP resource NAME (or, when there is no bitmap of that
//                   name, the ICON group NAME)
//   NAME[i/n]       cell i (1 = leftmost) of the BITMAP resource NAME cut into n cells of
//                   equal width side by side; each cell is (width / n) pixels wide and as
//                   high as the bitmap
//
// Examples: "MACOS_TITLE_LEFT", "MACOS_TITLEBTN[13/18]" (the minimise glyph of the MacOS
// title-bar strip), "#120" (the resource with the number 120). Blanks around the whole
// text and around the numbers are allowed; nothing else. Malformed texts are refused with
// EConvertError. No windows.h here; gui/win/picture.h loads what this names.

#include "gui/core/graphics_geometry.h"

#include <string>
#include <string_view>

namespace nestora::gui {

constexpr int kMaxPictureCells = 4096;

struct PictureRef {
    std::wstring name;
    int cell = 0;      // 1-based; 0 for the whole picture
    int cellCount = 0; // 0 for the whole picture
    bool IsCell() const { return cellCount > 0; }
};

PictureRef ParsePictureRef(std::wstring_view text);
// The text ParsePictureRef reads back to desc.
std::wstring PictureRefText(const PictureRef& desc);

// Cell `cell` (1-based) of `count` equal cells side by side in a strip of that size:
// (w * (cell - 1), 0, w * cell, height) with w = width / count. Empty when the strip is
// narrower than count pixels or the cell is out of range.
TRect CellRect(TSize strip, int cell, int count);

} // namespace nestora::gui
