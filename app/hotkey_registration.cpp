#include "app/hotkey_registration.h"

namespace nestora::app {

std::optional<HotKeyRegistration> HotKeyRegistrationFor(ShortcutWord word) {
    const SplitShortcut split = SplitShortcutWord(word);
    if (split.key == 0)
        return std::nullopt;
    HotKeyRegistration registration;
    registration.virtualKey = split.key;
    registration.modifiers = kModNoRepeat;
    if (split.shift)
        registration.modifiers |= kModShift;
    if (split.ctrl)
        registration.modifiers |= kModControl;
    if (split.alt)
        registration.modifiers |= kModAlt;
    return registration;
}

std::optional<HotKeyRegistration> SelectionKeyRegistrationFor(ShortcutWord word) {
    if (word & kShiftFlag)
        return std::nullopt;
    return HotKeyRegistrationFor(static_cast<ShortcutWord>(word | kShiftFlag));
}

} // namespace nestora::app
