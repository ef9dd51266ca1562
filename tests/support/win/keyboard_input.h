// Key presses through the system's input (SendInput), as the user's keyboard makes them:
// each press of a combination is its modifiers down, the key down and up, the modifiers
// up. Scan codes come with the keys, as a keyboard sends them.
#pragma once

#include <windows.h>

#include <vector>

namespace nestora::testing {

struct KeyCombination {
    std::vector<WORD> modifiers;
    WORD key;
};

// Nestora's default hotkey: Ctrl and the key left of 1 (virtual-key code $C0).
inline const KeyCombination kDefaultHotKey{{VK_CONTROL}, VK_OEM_3};

// The events of `times` presses of the combination, one after the other.
std::vector<INPUT> PressesOf(const KeyCombination& combination, int times);

// Hands all the events to the system in one call; how many it took.
UINT SendInputs(std::vector<INPUT>& events);

} // namespace nestora::testing
