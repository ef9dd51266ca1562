// The values a skinned menu draws its items with, and the measuring and drawing of one item
// from them: the bar down the left, the flat background, the framed highlight, the
// separator line, the MacOS stripes, texts, tick and image. The skinned main menu draws its
// drop-down items through here; the rules are those of the skinned popup menu, item for
// item, so both kinds of menu look alike.
//
// Which image list gives the tick and which the item images is the caller's choice (the
// main menu has a private tick list and shows user images only from a list of its own).
#pragma once

#include "gui/win/graphics_win32.h"

#include "gui/core/color.h"
#include "gui/core/graphics_geometry.h"
#include "skin/menu_geometry.h"
#include "skin/style_table.h"

#include <string>

namespace nestora::gui {
class TCanvas;
class TComponent;
class TImageList;
class TMenuItem;
} // namespace nestora::gui

namespace nestora::skin {

struct SkinnedMenuLook {
    TsuiUIStyle uiStyle = TsuiUIStyle::DeepBlue;
    // The theme component (not owned; may be null).
    gui::TComponent* fileTheme = nullptr;
    int menuItemHeight = 21;
    int separatorHeight = 5;
    int barWidth = kMenuBarWidth;
    TColor barColor = 0;
    TColor color = 0;
    TColor separatorColor = 0;
    TColor selectedBorderColor = 0;
    TColor selectedColor = 0;
    TColor selectedFontColor = 0;
    TColor fontColor = 0;
    TColor borderColor = 0; // stored only: no drawing reads it
    bool flatMenu = false;
    std::wstring fontName = L"MS Sans Serif";
    int fontSize = 8;
    int fontCharset = 1; // DEFAULT_CHARSET
    bool useSystemFont = true;

    bool IsMacOS() const { return uiStyle == TsuiUIStyle::MacOS; }
};

// Applies a style: UIStyle, BarWidth, both heights, SeparatorColor and the six item colours
// (from the theme when the style resolves to it). BorderColor, FlatMenu and the font
// settings are left alone.
void ApplySkinnedMenuStyle(SkinnedMenuLook& look, TsuiUIStyle style);

// The item's size: the separator or item height; the texts' widths + bar + 40.
void MeasureSkinnedMenuItem(const SkinnedMenuLook& look, const gui::TMenuItem& item,
                            gui::TCanvas& canvas, int& width, int& height);

// Draws the item into rect of canvas (off-screen, then copied in one block). images: the
// user's list (null: none), checkMarks: the list whose image 0 is the tick.
void DrawSkinnedMenuItem(const SkinnedMenuLook& look, gui::TMenuItem& item, gui::TCanvas& canvas,
                         const gui::TRect& rect, bool selected, gui::TImageList* images,
                         gui::TImageList* checkMarks);

} // namespace nestora::skin
