#pragma once
// The system hot-key control's value and rules against the program's shortcut word, without
// windows.h (the numbers are the documented HOTKEYF_ and HKCOMB_ values).
//
// Shortcut word: virtual-key code in the low byte, $2000 Shift, $4000 Ctrl, $8000 Alt.
// Control value (HKM_GETHOTKEY / HKM_SETHOTKEY): virtual-key code in the low byte, HOTKEYF_
// flags in the high byte: 1 Shift, 2 Ctrl, 4 Alt, 8 extended key.

#include "gui/core/class_info.h"

#include <cstdint>

namespace nestora::gui {

constexpr std::uint16_t kShortCutShift = 0x2000, kShortCutCtrl = 0x4000, kShortCutAlt = 0x8000;
constexpr unsigned kHotKeyFlagShift = 0x01, kHotKeyFlagControl = 0x02, kHotKeyFlagAlt = 0x04,
                   kHotKeyFlagExt = 0x08;

// Combinations the control refuses (HKM_SETRULES wParam): ordinal n is HKCOMB_ bit 1 << n.
enum THKInvalidKey : unsigned {
    hcNone,
    hcShift,
    hcCtrl,
    hcAlt,
    hcShiftCtrl,
    hcShiftAlt,
    hcCtrlAlt,
    hcShiftCtrlAlt
};
using THKInvalidKeys = unsigned; // bit n = ordinal n
// The modifiers put in place of a refused combination (HKM_SETRULES lParam).
enum THKModifier : unsigned { hkShift, hkCtrl, hkAlt, hkExt };
using THKModifiers = unsigned; // bit n = ordinal n

extern const EnumInfo kHKInvalidKeyInfo;
extern const EnumInfo kHKModifierInfo;

// Keys whose names depend on the extended flag (End rather than Num 1, and so on).
bool IsExtendedVirtualKey(unsigned virtualKey);

// The control's value for a shortcut word; words whose key is not a virtual-key code
// (above $FF) are no hot key (0) rather than another key.
std::uint16_t HotKeyValueFromShortCut(std::uint16_t shortCut);
// The shortcut word for a control value; the extended flag has no place in it.
std::uint16_t ShortCutFromHotKeyValue(std::uint16_t value);

unsigned HotKeyRulesFromInvalidKeys(THKInvalidKeys keys);   // HKCOMB_ bits
unsigned HotKeyFlagsFromModifiers(THKModifiers modifiers); // HOTKEYF_ bits

} // namespace nestora::gui
