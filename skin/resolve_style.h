// Which look a skinned component really draws with.
//
// Every skinned component calls ResolveStyle with its own UIStyle and FileTheme before it
// reads a style element. A built-in style resolves to itself and is read from the style
// table; FromThemeFile resolves to the theme when the theme has loaded a file, and to
// DeepBlue otherwise, so a component never draws with "no style".
//
// TsuiFileTheme is skin/menus/file_theme.h; a theme counts as loaded once it has read a
// file (ThemeLoaded).
#pragma once

#include "skin/style_table.h"

namespace nestora::gui {
class TComponent;
}

namespace nestora::skin {

class TsuiFileTheme;

// The theme a component's published FileTheme holds, or null when it holds none or
// something that is not a theme. Components keep FileTheme as a plain component reference
// (that is what properties and free notifications deal in) and go through here to resolve.
// Defined with the theme component in the Windows library.
const TsuiFileTheme* AsFileTheme(const gui::TComponent* component);

// resolved := style, except that FromThemeFile without a loaded theme becomes DeepBlue.
// True only when the caller must read from the theme (resolved stays FromThemeFile).
// The theme may be null.
bool ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style, TsuiUIStyle& resolved);

} // namespace nestora::skin
