#include "skin/sui_title_bar_look.h"

#include "gui/win/bitmap.h"
#include "skin/menus/file_theme.h"
#include "skin/sui_style_win.h"

namespace nestora::skin {

// FromThemeFile: when the style resolves to a loaded theme, each read below comes from the
// theme by element number (a key the file lacks reads as integer and colour -1, flag false,
// bitmap left unchanged).

FrameLook::FrameLook(TsuiUIStyle style, const gui::TComponent* theme) : theme_(AsFileTheme(theme)) {
    fromTheme_ = ResolveStyle(theme_, style, resolved_);
}

int FrameLook::Int(StyleElement element) const {
    if (fromTheme_)
        return theme_->GetFileThemeInt(element);
    return GetStyleInt(resolved_, element);
}

bool FrameLook::Bool(StyleElement element) const {
    if (fromTheme_)
        return theme_->GetFileThemeBool(element);
    return GetStyleBool(resolved_, element);
}

TColor FrameLook::Color(StyleElement element) const {
    if (fromTheme_)
        return theme_->GetFileThemeColor(element);
    return GetStyleColor(resolved_, element);
}

void FrameLook::Bitmap(StyleElement element, gui::TBitmap& dest, int index, int count) const {
    if (fromTheme_) {
        if (count > 0)
            theme_->GetFileThemeBitmapCell(element, dest, index, count);
        else
            theme_->GetFileThemeBitmap(element, dest);
        return;
    }
    GetStyleBitmap(resolved_, element, &dest, index, count);
}

} // namespace nestora::skin
