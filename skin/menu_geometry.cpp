#include "skin/menu_geometry.h"

#include "gui/core/dpi_scale.h"

#include <algorithm>

namespace nestora::skin {

namespace {

constexpr TColor kSeparatorColor = 0x00848284;
constexpr TColor kMacSeparatorColor = 0x00000000;

} // namespace

bool IsSeparatorCaption(std::wstring_view caption) {
    return caption == L"-";
}

int MenuItemWidth(int captionWidth, int shortcutWidth, int barWidth, int dpi) {
    return captionWidth + shortcutWidth + gui::ScaleToDpi(barWidth + kMenuItemExtraWidth, dpi);
}

int MenuItemHeight(bool separator, int itemHeight, int separatorHeight) {
    return separator ? separatorHeight : itemHeight;
}

int MenuItemHeightAtDpi(bool separator, int itemHeight, int separatorHeight, int textHeight,
                        int dpi) {
    if (separator)
        return gui::ScaleToDpi(separatorHeight, dpi);
    const int needed = gui::ScaleToDpi(kMenuTextIndent + kMenuTextBottomMargin, dpi) + textHeight;
    return std::max(gui::ScaleToDpi(itemHeight, dpi), needed);
}

MenuItemLayout LayOutMenuItem(const gui::TRect& item, int barWidth, int dpi) {
    const auto s = [dpi](int value96) { return gui::ScaleToDpi(value96, dpi); };
    const int l = item.Left;
    const int t = item.Top;
    MenuItemLayout layout;
    // A bar that is not positive is no bar; the background then starts at the left edge
    // (a negative width would otherwise paint outside the item).
    const int bar = barWidth > 0 ? s(barWidth) : 0;
    const int barEdge = l + s(barWidth);
    if (bar > 0)
        layout.bar = gui::MakeRect(l, t, l + bar, item.Bottom);
    layout.background = gui::MakeRect(l + bar, t, item.Right, item.Bottom);
    layout.lineLeft = barEdge + s(4);
    layout.lineRight = item.Right - s(2);
    layout.lineY = t + s(2);
    layout.caption = gui::MakeRect(barEdge + s(kMenuTextIndent), t + s(kMenuTextIndent), item.Right,
                                   item.Bottom);
    layout.textTop = t + s(kMenuTextIndent);
    layout.glyph = gui::TPoint{l + s(4), t + s(3)};
    layout.glyphSize = s(kMenuGlyphSize);
    layout.boxFrame = gui::BoundsRect(l + s(2), t + s(1), s(19), s(19));
    layout.boxFill = gui::InflatedRect(layout.boxFrame, -1, -1);
    return layout;
}

int ShortcutLeft(const gui::TRect& item, int shortcutWidth, int dpi) {
    return item.Right - shortcutWidth - gui::ScaleToDpi(kMenuShortcutGap, dpi);
}

bool MenuImageDrawn(int imageIndex, bool hasImages, int imageCount) {
    return hasImages && imageIndex >= 0 && imageIndex < imageCount;
}

bool MenuItemHighlighted(bool selected, bool enabled) {
    return selected && enabled;
}

TColor MenuItemTextColor(bool enabled, bool selected, TColor selectedFontColor, TColor fontColor) {
    if (!enabled)
        return kMenuDisabledTextColor;
    return selected ? selectedFontColor : fontColor;
}

MenuStyleValues MenuStyleValuesFor(TsuiUIStyle style, TsuiUIStyle resolved) {
    MenuStyleValues values;
    if (style == TsuiUIStyle::MacOS) {
        values.menuItemHeight = 20;
        values.separatorHeight = 12;
        values.separatorColor = kMacSeparatorColor;
    } else {
        values.menuItemHeight = 21;
        values.separatorHeight = 5;
        values.separatorColor = kSeparatorColor;
    }
    values.barWidth = kMenuBarWidth;
    values.barColor = GetStyleColor(resolved, StyleElement::MenuBarColor);
    values.color = GetStyleColor(resolved, StyleElement::MenuBackgroundColor);
    values.fontColor = GetStyleColor(resolved, StyleElement::MenuFontColor);
    values.selectedBorderColor = GetStyleColor(resolved, StyleElement::MenuSelectedBorderColor);
    values.selectedColor = GetStyleColor(resolved, StyleElement::MenuSelectedBackgroundColor);
    values.selectedFontColor = GetStyleColor(resolved, StyleElement::MenuSelectedFontColor);
    return values;
}

TColor MenuFlatBorderLineColor(TsuiUIStyle resolved) {
    return GetStyleColor(resolved, StyleElement::FormBackgroundColor);
}

FlatMenuBorder LayOutFlatMenuBorder(const gui::TRect& window) {
    const int l = window.Left;
    const int t = window.Top;
    const int r = window.Right;
    const int b = window.Bottom;
    FlatMenuBorder border;
    border.outerFrame = gui::MakeRect(l, t + 1, r - 1, b - 1);
    border.innerFrame = gui::MakeRect(l + 1, t + 2, r - 2, b - 2);
    border.line[0] = {l, b - 1};
    border.line[1] = {r - 1, b - 1};
    border.line[2] = {r - 1, t};
    border.line[3] = {r, t};
    border.line[4] = {l, t};
    return border;
}

} // namespace nestora::skin
