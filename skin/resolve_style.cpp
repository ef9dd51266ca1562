#include "skin/resolve_style.h"

namespace nestora::skin {

namespace {

// No theme component can load a file yet; this is the one place that changes when one can.
bool ThemeIsLoaded(const TsuiFileTheme* theme) {
    static_cast<void>(theme);
    return false;
}

} // namespace

const TsuiFileTheme* AsFileTheme(const gui::TComponent* component) {
    static_cast<void>(component);
    return nullptr;
}

bool ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style, TsuiUIStyle& resolved) {
    resolved = style;
    if (style != TsuiUIStyle::FromThemeFile) {
        return false;
    }
    if (theme != nullptr && ThemeIsLoaded(theme)) {
        return true;
    }
    resolved = TsuiUIStyle::DeepBlue;
    return false;
}

} // namespace nestora::skin
