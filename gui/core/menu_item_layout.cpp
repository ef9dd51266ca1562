#include "gui/core/menu_item_layout.h"

#include <algorithm>

namespace nestora::gui {

namespace {

constexpr int kLeftMargin = 2;
constexpr int kGlyphPadding = 2; // on each side of the glyph
constexpr int kCaptionGap = 4;
constexpr int kShortcutGap = 16;
constexpr int kRightMargin = 16;

int GlyphColumn(const MenuItemMetrics& m) {
    return m.imageWidth + 2 * kGlyphPadding;
}

} // namespace

TSize MeasureMenuItem(const MenuItemMetrics& m) {
    if (m.menuBar)
        return TSize{m.captionWidth + 2 * kMenuBarPadding, m.textHeight + 4};
    if (m.separator)
        return TSize{kLeftMargin + GlyphColumn(m) + kRightMargin, kMenuSeparatorHeight};
    int width = kLeftMargin + GlyphColumn(m) + kCaptionGap + m.captionWidth + kRightMargin;
    if (m.shortcutWidth > 0)
        width += kShortcutGap + m.shortcutWidth;
    const int height = std::max(m.textHeight + 6, m.imageHeight + 4);
    return TSize{width, height};
}

MenuItemPlacement PlaceMenuItem(const MenuItemMetrics& m, const TRect& item) {
    MenuItemPlacement p;
    p.separatorY = item.Top + item.Height() / 2;
    if (m.menuBar) {
        p.caption = item;
        return p;
    }
    const int glyphLeft = item.Left + kLeftMargin + kGlyphPadding;
    const int glyphTop = item.Top + (item.Height() - m.imageHeight) / 2;
    p.glyph = BoundsRect(glyphLeft, glyphTop, m.imageWidth, m.imageHeight);
    const int captionLeft = item.Left + kLeftMargin + GlyphColumn(m) + kCaptionGap;
    const int textRight = item.Right - kRightMargin;
    if (m.shortcutWidth > 0) {
        const int shortcutLeft = std::max(captionLeft, textRight - m.shortcutWidth);
        p.shortcut = TRect{shortcutLeft, item.Top, std::max(shortcutLeft, textRight), item.Bottom};
        p.caption = TRect{captionLeft, item.Top,
                          std::max(captionLeft, p.shortcut.Left - kShortcutGap), item.Bottom};
    } else {
        p.caption = TRect{captionLeft, item.Top, std::max(captionLeft, textRight), item.Bottom};
    }
    return p;
}

} // namespace nestora::gui
