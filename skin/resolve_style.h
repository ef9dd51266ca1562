// Which look a skinned component really draws with.
//
// Every skinned component calls ResolveStyle with its own UIStyle and FileTheme before it
// reads a style element. A built-in style resolves to itself and is read from the style
// table; FromThemeFile resolves to the theme when the theme has loaded a file, and to
// DeepBlue otherwise, so a component never draws with "no style".
//
// TsuiFileTheme is only declared here: until theme-file components exist, every theme
// counts as "not loaded". The callers' FromThemeFile branches stay in place so that they
// start reading from the theme the moment a theme can report itself loaded.
#pragma once

#include "skin/style_table.h"

namespace nestora::skin {

class TsuiFileTheme;

// resolved := style, except that FromThemeFile without a loaded theme becomes DeepBlue.
// True only when the caller must read from the theme (resolved stays FromThemeFile).
// The theme may be null.
bool ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style, TsuiUIStyle& resolved);

} // namespace nestora::skin
