// The shortcut word: the hotkey as the settings window and the registry know it.
//
// 16 bits: the key in bits 0-12 (its virtual-key code in the low byte), Shift $2000,
// Ctrl $4000, Alt $8000; 0 means no hotkey. Its text form ("Shift+", "Ctrl+", "Alt+" and the
// key's name) is what the registry stores and the tray hint shows, so the text form and
// the parsing below must stay each other's inverse for every key the hotkey field can hold.
//
// Keys outside the fixed names table are named by the keyboard layout; that name comes
// through a KeyNameSource so the logic runs without Windows (the Windows side is
// gui/win/key_names.h). The names and the text form are the menus' own (gui/core/
// shortcut_text.h): a hotkey reads exactly as a menu shortcut does.
#pragma once

#include "gui/core/shortcut_text.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::app {

using ShortcutWord = std::uint16_t;

inline constexpr ShortcutWord kShiftFlag = 0x2000;
inline constexpr ShortcutWord kCtrlFlag = 0x4000;
inline constexpr ShortcutWord kAltFlag = 0x8000;
inline constexpr ShortcutWord kShortcutFlags = kShiftFlag | kCtrlFlag | kAltFlag;

// Ctrl and the key with virtual-key code $C0 (the key left of 1 on most layouts).
inline constexpr ShortcutWord kDefaultHotKey = 0x40C0;

struct SplitShortcut {
    unsigned key = 0; // the word with the three flag bits cleared
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

SplitShortcut SplitShortcutWord(ShortcutWord word);

// The keyboard layout's name of a virtual key; empty when the layout has none.
using KeyNameSource = gui::KeyNameSource;

// The key's name by the low byte of the code: the fixed table first, then the layout.
std::wstring KeyName(unsigned code, const KeyNameSource& layoutNames);

// "Shift+Ctrl+Alt+" (those set, in that order) and the key's name; empty when the key has
// no name, which includes the word 0.
std::wstring ShortcutToText(ShortcutWord word, const KeyNameSource& layoutNames);

// The inverse of ShortcutToText, forgiving about case and accepting "^" for "Ctrl+".
// Anything it cannot read gives 0 (no hotkey), never an error. When several keys bear the
// name, the lowest code from 8 up wins, then the codes below 8.
ShortcutWord ShortcutFromText(std::wstring_view text, const KeyNameSource& layoutNames);

// The names the US English layout gives the keys the fixed table leaves to the layout (the
// punctuation keys among them): the last resort when reading a stored text back.
std::wstring EnglishKeyName(unsigned virtualKey);

// Reading a stored text back whatever layout wrote it. The hotkey's text names keys outside
// the fixed table by the layout active when it was written ("Ctrl+`" under English,
// "Ctrl+Ё" under Russian for the same key $C0); read under another layout it would name no
// key. So the text is tried with the active layout's names, then with each installed
// layout's, then with the English names; the first that reads it gives the word.
ShortcutWord ShortcutFromAnyLayout(std::wstring_view text, const KeyNameSource& activeLayout,
                                   const std::vector<KeyNameSource>& installedLayouts);

} // namespace nestora::app
