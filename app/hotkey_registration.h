// What the settings window passes to RegisterHotKey for its shortcut word.
//
// Every modifier the word holds is passed (so "Alt+F" never becomes a bare F that would
// swallow every F typed anywhere), together with MOD_NOREPEAT so that holding the keys
// down creates one folder, not one per auto-repeat.
//
// Beside it lives the selection key: the same combination with Shift added, which moves the
// items selected in the window into the new folder. A hotkey that holds Shift already has
// no selection key (there is no second Shift to add).
#pragma once

#include "app/shortcut.h"

#include <cstdint>
#include <optional>

namespace nestora::app {

// The values of MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_NOREPEAT in winuser.h.
inline constexpr unsigned kModAlt = 0x0001;
inline constexpr unsigned kModControl = 0x0002;
inline constexpr unsigned kModShift = 0x0004;
inline constexpr unsigned kModNoRepeat = 0x4000;

struct HotKeyRegistration {
    unsigned modifiers = 0;
    unsigned virtualKey = 0;

    friend bool operator==(const HotKeyRegistration&, const HotKeyRegistration&) = default;
};

// Nothing to register for a word without a key (0, or flags alone): registering virtual
// key 0 would catch a bare modifier press on some systems.
std::optional<HotKeyRegistration> HotKeyRegistrationFor(ShortcutWord word);

// The selection key of a word: the word with Shift added; nothing for a word without a key
// or one that holds Shift already.
std::optional<HotKeyRegistration> SelectionKeyRegistrationFor(ShortcutWord word);

// The identifier the hotkey is registered under: the low 8 bits of the global atom of
// "hotkey", the same at every registration while the program runs.
inline constexpr int HotKeyIdFromAtom(std::uint16_t atom) {
    return atom & 0xFF;
}

// The identifier of the selection key: out of the hotkey's range (0 to 255), and below the
// 0xC000 where the identifiers of shared libraries begin.
inline constexpr int SelectionKeyIdFromHotKeyId(int hotKeyId) {
    return hotKeyId | 0x100;
}

} // namespace nestora::app
