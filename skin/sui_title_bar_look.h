// The frame's look as the title bar, its buttons and the skinned form read it: one resolved
// style (a built-in row of the style table, or a loaded theme file) and the reads of the
// frame's elements from it.
//
// Every FromThemeFile branch of the frame goes through here: when the style resolves to the
// theme, the element comes from the theme; otherwise from the built-in table and the
// program's bitmap resources.
#pragma once

#include "skin/resolve_style.h"
#include "skin/style_table.h"

namespace nestora::gui {
class TBitmap;
class TComponent;
} // namespace nestora::gui

namespace nestora::skin {

class FrameLook {
public:
    // Resolves style with the theme component a FileTheme property holds (may be null).
    FrameLook(TsuiUIStyle style, const gui::TComponent* theme);

    // The built-in style the values come from (DeepBlue for an unloaded theme).
    TsuiUIStyle Style() const { return resolved_; }
    bool FromTheme() const { return fromTheme_; }

    int Int(StyleElement element) const;
    bool Bool(StyleElement element) const;
    TColor Color(StyleElement element) const;
    // The element's bitmap into dest: whole with count 0, else cell index (1-based) of
    // count. Raises the graphics library's resource error when the bitmap is missing.
    void Bitmap(StyleElement element, gui::TBitmap& dest, int index = 0, int count = 0) const;

private:
    const TsuiFileTheme* theme_;
    TsuiUIStyle resolved_ = TsuiUIStyle::DeepBlue;
    bool fromTheme_ = false;
};

} // namespace nestora::skin
