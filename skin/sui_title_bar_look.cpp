#include "skin/sui_title_bar_look.h"

#include "gui/win/bitmap.h"
#include "skin/sui_public.h"

namespace nestora::skin {

// FromThemeFile: when the style resolves to a loaded theme, each read below is the place
// where the theme's value comes in (the theme's lookups by element number). Until theme
// components can load files, ResolveStyle never resolves to a theme, and such a style would
// read as "no value" (integer -1, colour 0, flag false, bitmap left unchanged).

FrameLook::FrameLook(TsuiUIStyle style, const gui::TComponent* theme) : theme_(AsFileTheme(theme)) {
    fromTheme_ = ResolveStyle(theme_, style, resolved_);
}

int FrameLook::Int(StyleElement element) const {
    if (fromTheme_)
        return -1; // FromThemeFile: the theme's integer
    return GetStyleInt(resolved_, element);
}

bool FrameLook::Bool(StyleElement element) const {
    if (fromTheme_)
        return false; // FromThemeFile: the theme's flag
    return GetStyleBool(resolved_, element);
}

TColor FrameLook::Color(StyleElement element) const {
    if (fromTheme_)
        return 0; // FromThemeFile: the theme's colour
    return GetStyleColor(resolved_, element);
}

void FrameLook::Bitmap(StyleElement element, gui::TBitmap& dest, int index, int count) const {
    if (fromTheme_)
        return; // FromThemeFile: the theme's bitmap (or its cell)
    GetStyleBitmap(resolved_, element, &dest, index, count);
}

} // namespace nestora::skin
