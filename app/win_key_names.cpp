#include "app/win_key_names.h"

#include <windows.h>

#include <array>

namespace nestora::app {

std::wstring layoutKeyName(unsigned virtualKey) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    if (scanCode == 0)
        return {};
    // The key data of a key message: the scan code in bits 16 to 23.
    const LONG keyData = static_cast<LONG>((scanCode & 0xFF) << 16);
    std::array<wchar_t, 64> buffer{};
    const int length = GetKeyNameTextW(keyData, buffer.data(), static_cast<int>(buffer.size()));
    return length > 0 ? std::wstring(buffer.data(), static_cast<std::size_t>(length))
                      : std::wstring();
}

KeyNameSource windowsKeyNames() {
    return [](unsigned virtualKey) { return layoutKeyName(virtualKey); };
}

} // namespace nestora::app
