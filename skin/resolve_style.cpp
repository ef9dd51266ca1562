#include "skin/resolve_style.h"

#include "skin/menus/file_theme.h"

namespace nestora::skin {

// AsFileTheme lives with the theme component (skin/menus/sui_file_theme.cpp): it needs the
// component's run-time type, which only the Windows library has.

bool ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style, TsuiUIStyle& resolved) {
    resolved = style;
    if (style != TsuiUIStyle::FromThemeFile)
        return false;
    if (theme != nullptr && theme->ThemeLoaded())
        return true;
    resolved = TsuiUIStyle::DeepBlue;
    return false;
}

} // namespace nestora::skin
