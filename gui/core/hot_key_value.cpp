#include "gui/core/hot_key_value.h"

namespace nestora::gui {

const EnumInfo kHKInvalidKeyInfo{"THKInvalidKey",
                                 {"hcNone", "hcShift", "hcCtrl", "hcAlt", "hcShiftCtrl",
                                  "hcShiftAlt", "hcCtrlAlt", "hcShiftCtrlAlt"}};
const EnumInfo kHKModifierInfo{"THKModifier", {"hkShift", "hkCtrl", "hkAlt", "hkExt"}};

bool IsExtendedVirtualKey(unsigned vk) {
    return (vk >= 0x21 && vk <= 0x28) || // PgUp, PgDn, End, Home, arrows
           vk == 0x2D || vk == 0x2E ||   // Ins, Del
           (vk >= 0x5B && vk <= 0x5D) || // Windows keys, Apps
           vk == 0x6F || vk == 0x90;     // keypad divide, Num Lock
}

std::uint16_t HotKeyValueFromShortCut(std::uint16_t shortCut) {
    const unsigned key = shortCut & 0x1FFFu;
    if (key == 0 || key > 0xFF)
        return 0;
    unsigned flags = 0;
    if (shortCut & kShortCutShift)
        flags |= kHotKeyFlagShift;
    if (shortCut & kShortCutCtrl)
        flags |= kHotKeyFlagControl;
    if (shortCut & kShortCutAlt)
        flags |= kHotKeyFlagAlt;
    if (IsExtendedVirtualKey(key))
        flags |= kHotKeyFlagExt;
    return static_cast<std::uint16_t>(key | (flags << 8));
}

std::uint16_t ShortCutFromHotKeyValue(std::uint16_t value) {
    const unsigned key = value & 0xFFu;
    if (key == 0)
        return 0;
    const unsigned flags = value >> 8;
    unsigned word = key;
    if (flags & kHotKeyFlagShift)
        word |= kShortCutShift;
    if (flags & kHotKeyFlagControl)
        word |= kShortCutCtrl;
    if (flags & kHotKeyFlagAlt)
        word |= kShortCutAlt;
    return static_cast<std::uint16_t>(word);
}

unsigned HotKeyRulesFromInvalidKeys(THKInvalidKeys keys) {
    // HKCOMB_NONE 1, _S 2, _C 4, _A 8, _SC $10, _SA $20, _CA $40, _SCA $80: the ordinals
    // of THKInvalidKey are exactly the bit numbers.
    return keys & 0xFFu;
}

unsigned HotKeyFlagsFromModifiers(THKModifiers modifiers) {
    unsigned flags = 0;
    if (modifiers & (1u << hkShift))
        flags |= kHotKeyFlagShift;
    if (modifiers & (1u << hkCtrl))
        flags |= kHotKeyFlagControl;
    if (modifiers & (1u << hkAlt))
        flags |= kHotKeyFlagAlt;
    if (modifiers & (1u << hkExt))
        flags |= kHotKeyFlagExt;
    return flags;
}

} // namespace nestora::gui
