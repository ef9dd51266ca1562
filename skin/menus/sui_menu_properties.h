// The published properties both skinned menus share, from OwnerDraw to UseSystemFont, in
// the order window descriptions set them (a stored value after UIStyle overrides what the
// style applied).
#pragma once

#include "gui/core/class_builder.h"
#include "skin/sui_style_win.h"

namespace nestora::skin {

template <class M> gui::ClassBuilder<M>& PublishSkinnedMenuProperties(gui::ClassBuilder<M>& b) {
    return b.Bool("OwnerDraw", &M::OwnerDraw, &M::SetOwnerDraw)
        .template Component<gui::TComponent>("FileTheme", &M::FileTheme, &M::SetFileTheme)
        .Enum("UIStyle", kUIStyleInfo, &M::UIStyle, &M::SetUIStyle)
        .Int("MenuItemHeight", &M::MenuItemHeight, &M::SetMenuItemHeight)
        .Int("SeparatorHeight", &M::SeparatorHeight, &M::SetSeparatorHeight)
        .Int("BarWidth", &M::BarWidth, &M::SetBarWidth)
        .Color("BarColor", &M::BarColor, &M::SetBarColor)
        .Color("Color", &M::Color, &M::SetColor)
        .Color("SeparatorColor", &M::SeparatorColor, &M::SetSeparatorColor)
        .Color("SelectedBorderColor", &M::SelectedBorderColor, &M::SetSelectedBorderColor)
        .Color("SelectedColor", &M::SelectedColor, &M::SetSelectedColor)
        .Color("SelectedFontColor", &M::SelectedFontColor, &M::SetSelectedFontColor)
        .Color("FontColor", &M::FontColor, &M::SetFontColor)
        .Color("BorderColor", &M::BorderColor, &M::SetBorderColor)
        .Bool("FlatMenu", &M::FlatMenu, &M::SetFlatMenu)
        .Text("FontName", &M::FontName, &M::SetFontName)
        .Int("FontSize", &M::FontSize, &M::SetFontSize)
        .Int("FontCharset", &M::FontCharset, &M::SetFontCharset)
        .Bool("UseSystemFont", &M::UseSystemFont, &M::SetUseSystemFont);
}

} // namespace nestora::skin
