// Where the skinned popup menu puts the parts of an item, how big an item is, and which
// values a style gives the menu: plain arithmetic, no windows.h.
//
// The measuring and drawing handlers of the menu (skin/menus/sui_popup_menu.h), the
// title-bar menu built on it and the skinned main menu's drop-downs all call these, so a
// measured item and a drawn item can never disagree with each other or with the tests.
//
// An item of rectangle (L, T, R, B), right and bottom exclusive, left to right:
//
//   | bar (BarWidth) | 4 | caption ...                 | shortcut | 16 |
//
// the image or check mark sits on the bar at (L + 4, T + 3), texts start at T + 4 (they
// are not centred), and a separator is a one-pixel line at T + 2.
#pragma once

#include "gui/core/graphics_geometry.h"
#include "skin/style_table.h"

#include <string_view>

namespace nestora::skin {

inline constexpr int kMenuBarWidth = 26;        // every style's bar
inline constexpr int kMenuItemExtraWidth = 40;  // beyond the texts and the bar
inline constexpr int kMenuTextIndent = 4;       // caption after the bar, texts below the top
inline constexpr int kMenuShortcutGap = 16;     // shortcut text to the right edge
inline constexpr int kMenuTextBottomMargin = 2; // below the text's cell, for its descenders
inline constexpr int kMenuGlyphSize = 16;       // the images and the check mark
inline constexpr TColor kMenuDisabledTextColor = 0x00808080;

// Rows of the MacOS striped bitmaps that the menu stretches over an item.
inline constexpr int kMacMenuSeparatorRows = 12; // of MACOS_MENU_BAR, for separators
inline constexpr int kMacMenuItemRows = 20;      // of MACOS_MENU_BAR and MACOS_MENU_SELECT

// Exactly "-": "--", "- " and "" are ordinary items.
bool IsSeparatorCaption(std::wstring_view caption);

// The measured size of an item. Widths are of the texts as the menu's canvas measures
// them (the caption as stored, ampersands included, in the plain font); the bar and the
// room beyond the texts are 96-dpi numbers scaled to dpi.
int MenuItemWidth(int captionWidth, int shortcutWidth, int barWidth, int dpi = 96);
int MenuItemHeight(bool separator, int itemHeight, int separatorHeight);
// The height of an item at dpi: the heights (96-dpi numbers) scaled, and an item never
// lower than its text needs (the text's top, the menu font's cell height at that DPI and a
// margin for the descenders), so a menu font larger than the designer's is never cut.
int MenuItemHeightAtDpi(bool separator, int itemHeight, int separatorHeight, int textHeight,
                        int dpi);

struct MenuItemLayout {
    gui::TRect bar;        // the bar; empty when BarWidth is not positive
    gui::TRect background; // right of the bar (the whole item when there is no bar)
    // The separator line: from (lineLeft, lineY) to (lineRight, lineY), lineRight excluded.
    int lineLeft = 0;
    int lineRight = 0;
    int lineY = 0;
    gui::TRect caption;             // where DrawText puts the caption
    gui::TPoint glyph;              // top-left corner of the image or the check mark
    int glyphSize = kMenuGlyphSize; // their side at the DPI
    gui::TRect boxFrame; // black frame of the box behind a checked item's image (19 by 19)
    gui::TRect boxFill;  // its inside, in SelectedColor
    int textTop = 0;     // top of the caption and the shortcut text
    friend bool operator==(const MenuItemLayout&, const MenuItemLayout&) = default;
};

// item is in pixels; barWidth and every offset are 96-dpi numbers placed at dpi.
MenuItemLayout LayOutMenuItem(const gui::TRect& item, int barWidth, int dpi = 96);

// The left edge of a shortcut text of that width: right-aligned 16 pixels from the edge.
int ShortcutLeft(const gui::TRect& item, int shortcutWidth, int dpi = 96);

// Whether Images[imageIndex] exists to be drawn. A negative index never does.
bool MenuImageDrawn(int imageIndex, bool hasImages, int imageCount);

// The highlight is drawn only for a selected item that is enabled: a disabled item stays
// plain even under the keyboard or the mouse.
bool MenuItemHighlighted(bool selected, bool enabled);
TColor MenuItemTextColor(bool enabled, bool selected, TColor selectedFontColor, TColor fontColor);

// What applying a UIStyle writes into the menu.
struct MenuStyleValues {
    int menuItemHeight = 21;
    int separatorHeight = 5;
    int barWidth = kMenuBarWidth;
    TColor separatorColor = 0x00848284;
    TColor barColor = 0;
    TColor color = 0;
    TColor fontColor = 0;
    TColor selectedBorderColor = 0;
    TColor selectedColor = 0;
    TColor selectedFontColor = 0;
};

// The heights and the separator colour follow the style as set (only MacOS differs, also
// when it would be read from a theme file); the six colours come from the style table row
// of the resolved built-in style. A theme supplies its colours itself (the caller fills
// them in).
MenuStyleValues MenuStyleValuesFor(TsuiUIStyle style, TsuiUIStyle resolved);

// The colour of the flat border's lines: the resolved style's FormBackgroundColor.
TColor MenuFlatBorderLineColor(TsuiUIStyle resolved);

// The lines DrawFlatMenuBorder draws round a menu window of screen rectangle (L, T, R, B).
struct FlatMenuBorder {
    gui::TRect outerFrame; // in the frame colour
    gui::TRect innerFrame; // white
    // A polyline in the line colour (bottom, right and top outer edges); each segment
    // excludes its end point.
    gui::TPoint line[5];
};
FlatMenuBorder LayOutFlatMenuBorder(const gui::TRect& window);

} // namespace nestora::skin
