// The keyboard layout's names of keys, for the shortcut text form on Windows.
#pragma once

#include "app/shortcut.h"

#include <string>

namespace nestora::app {

// The name the active keyboard layout gives a virtual key (GetKeyNameTextW of its scan
// code); empty when the key has no scan code in the layout.
std::wstring layoutKeyName(unsigned virtualKey);

// layoutKeyName as the seam the shortcut functions take.
KeyNameSource windowsKeyNames();

} // namespace nestora::app
