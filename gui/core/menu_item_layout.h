#pragma once
// Where the plain (default) drawing of an owner-drawn menu item puts its parts, and how
// big the item is: one pure function of the measured texts, used both when Windows asks for
// the size (WM_MEASUREITEM) and when it asks for the drawing (WM_DRAWITEM), so the two can
// never disagree. No windows.h.
//
// A drop-down item, left to right:
//   2 | glyph column (image or check mark, imageWidth + 4) | 4 | caption | 16 | shortcut | 16
// (the shortcut part only when there is one; the last 16 leave room for a sub-menu arrow).
// Its height is the larger of text height + 6 and image height + 4. A separator is 8 high
// with its line through the middle. A menu-bar item is its caption with 6 on each side.

#include "gui/core/graphics_geometry.h"

namespace nestora::gui {

struct MenuItemMetrics {
    int captionWidth = 0;  // of the caption as shown (no ampersands)
    int shortcutWidth = 0; // 0 when there is no shortcut
    int textHeight = 0;
    int imageWidth = 16; // the glyph column: the image list's size, or the check mark's
    int imageHeight = 16;
    bool separator = false;
    bool menuBar = false; // a top-level item of a main menu
};

struct MenuItemPlacement {
    TRect glyph;    // image or check mark, imageWidth by imageHeight, centred vertically
    TRect caption;  // from the caption's left edge to the shortcut column (full height)
    TRect shortcut; // right-aligned shortcut text (full height); empty without shortcut
    int separatorY = 0;
};

constexpr int kMenuSeparatorHeight = 8;
constexpr int kMenuBarPadding = 6;

TSize MeasureMenuItem(const MenuItemMetrics& metrics);
MenuItemPlacement PlaceMenuItem(const MenuItemMetrics& metrics, const TRect& item);

} // namespace nestora::gui
