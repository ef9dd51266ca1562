#pragma once
// The keyboard layout's names of keys that have no fixed name in shortcut texts (OEM and
// punctuation keys): the KeyNameSource menus use on Windows.

#include "gui/win/graphics_win32.h"

#include "gui/core/shortcut_text.h"

#include <string>

namespace nestora::gui {

// MapVirtualKeyW to the scan code, then GetKeyNameTextW; empty when the layout has no
// key or no name for it.
std::wstring LayoutKeyName(unsigned virtualKey);

// LayoutKeyName as a KeyNameSource.
KeyNameSource WindowsKeyNames();

// ShortCutToText with the keyboard layout's names.
std::wstring ShortCutText(std::uint16_t shortCut);

} // namespace nestora::gui
