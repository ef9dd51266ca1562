// The five built-in looks as the artwork sees them: resource prefix, the sizes of the
// title-bar pictures and button cells (fixed by the frame that loads them), and where the
// frame puts the buttons (read from the style table the program itself uses).
#pragma once

#include "skin/style_table.h"

#include <array>
#include <string>

namespace nestora::skingen {

using nestora::skin::TsuiUIStyle;

struct Size {
    int width = 0;
    int height = 0;
};

struct LookInfo {
    TsuiUIStyle style;
    std::string prefix; // MACOS, WINXP, ...
    int cell;           // square button cell; the strip is 18 cells wide
    Size left, client, right;
    // From the style table.
    int buttonTop;
    int leftOffset;
    int rightOffset;
    bool transparentButtons;
    int roundCorner;
    bool darkCaption; // the caption is drawn black on this look, white on the others
};

const std::array<LookInfo, 5>& AllLooks();
const LookInfo& LookOf(TsuiUIStyle style);

// The resource name the program loads for an element of a look, from the style table.
std::string BitmapNameOf(TsuiUIStyle style, nestora::skin::StyleElement element);

} // namespace nestora::skingen
