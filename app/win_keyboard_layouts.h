// The key names of every keyboard layout the user has installed, for reading a stored
// hotkey text back under a layout other than the one that wrote it (shortcut.h).
#pragma once

#include "app/shortcut.h"

#include <vector>

namespace nestora::app {

// One KeyNameSource per layout of GetKeyboardLayoutList, in its order. A layout names a
// key by the character the key types unshifted under it, in capitals ("Ё" for $C0 under
// Russian), as the active layout's GetKeyNameText does for such keys; keys that type
// nothing have no name here.
std::vector<KeyNameSource> InstalledLayoutKeyNames();

} // namespace nestora::app
