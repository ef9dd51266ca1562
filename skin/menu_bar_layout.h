// How the skinned form's menu bar draws one of its buttons: which way (left to the tool bar,
// the MacOS stripes, or the flat fill and frame) and where the fill, the frame and the
// caption go. Plain arithmetic, no windows.h: the bar's button drawing calls these, and so
// do the tests.
#pragma once

#include "gui/core/graphics_geometry.h"
#include "skin/style_table.h"

namespace nestora::skin {

enum class MenuBarButtonLook {
    ToolBarDraws,  // neither hot nor pressed: the tool bar draws the button itself
    MacStripes,    // MacOS, hot or pressed: MACOS_MENU_SELECT stretched under the caption
    FlatHighlight, // any other style, hot or pressed: filled and framed
};

MenuBarButtonLook ChooseMenuBarButtonLook(TsuiUIStyle style, bool hot, bool selected);

// The flat highlight of a button whose rectangle in the bar is `button`.
struct FlatMenuBarButton {
    gui::TRect fill;    // filled with MenuSelectedBackgroundColor, framed with ...BorderColor
    gui::TRect caption; // where the caption is centred (single line)
};

// A pressed button's highlight is 2 pixels narrower on the right and its caption moves 2
// pixels right; hot or pressed, the caption's rectangle starts 2 pixels lower.
FlatMenuBarButton LayOutFlatMenuBarButton(const gui::TRect& button, bool selected);

// The caption rectangle inside the off-screen picture of a MacOS button of that size: 2
// pixels taller than the button, so a centred caption sits one pixel below the middle.
gui::TRect MacMenuBarCaptionRect(int width, int height);

} // namespace nestora::skin
