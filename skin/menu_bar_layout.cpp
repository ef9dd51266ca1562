#include "skin/menu_bar_layout.h"

#include <algorithm>

namespace nestora::skin {

MenuBarButtonLook ChooseMenuBarButtonLook(TsuiUIStyle style, bool hot, bool selected) {
    if (!hot && !selected)
        return MenuBarButtonLook::ToolBarDraws;
    return style == TsuiUIStyle::MacOS ? MenuBarButtonLook::MacStripes
                                       : MenuBarButtonLook::FlatHighlight;
}

FlatMenuBarButton LayOutFlatMenuBarButton(const gui::TRect& button, bool selected) {
    FlatMenuBarButton out;
    out.fill = button;
    // Clamped, so that a button narrower or lower than the offsets gives empty rectangles
    // rather than inverted ones that GDI would fill the other way round.
    if (selected)
        out.fill.Right = std::max(out.fill.Left, out.fill.Right - 2);
    out.caption = out.fill;
    if (selected)
        out.caption.Left = std::min(out.caption.Right, out.caption.Left + 2);
    out.caption.Top = std::min(out.caption.Bottom, out.caption.Top + 2);
    return out;
}

gui::TRect MacMenuBarCaptionRect(int width, int height) {
    return gui::TRect{0, 0, width, height + 2};
}

} // namespace nestora::skin
