#pragma once
// The text form of a menu shortcut ("Ctrl+S", "Shift+Alt+F4") and back.
//
// A shortcut is the 16-bit word menus and hotkey fields use: the virtual-key code in the
// low byte, $2000 Shift, $4000 Ctrl, $8000 Alt. The text is "Shift+", "Ctrl+", "Alt+" (in
// that order, for those present) followed by the key's name. Keys without a fixed name
// here (punctuation, OEM keys) are named by the keyboard layout through a KeyNameSource;
// the Windows one lives in gui/win/key_names.h, tests pass their own. No windows.h here.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace nestora::gui {

constexpr std::uint16_t scShift = 0x2000;
constexpr std::uint16_t scCtrl = 0x4000;
constexpr std::uint16_t scAlt = 0x8000;

// The keyboard layout's name of a virtual key, or empty when it has none.
using KeyNameSource = std::function<std::wstring(unsigned virtualKey)>;

// The fixed name of a key ("Enter", "F5", "A", "PgUp"), or empty when the layout has to
// name it.
std::wstring FixedKeyName(unsigned virtualKey);

// "" when the key has no name (no key at all, or one neither the table nor names knows).
std::wstring ShortCutToText(std::uint16_t shortCut, const KeyNameSource& names);

// The shortcut a text names, or 0 when it names none. Modifiers are matched without
// regard to case and in any order; the key name as ShortCutToText would write it.
std::uint16_t TextToShortCut(std::wstring_view text, const KeyNameSource& names);

} // namespace nestora::gui
