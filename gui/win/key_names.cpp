#include "gui/win/key_names.h"

#include <iterator>

namespace nestora::gui {

std::wstring LayoutKeyName(unsigned virtualKey) {
    const UINT scanCode = ::MapVirtualKeyW(virtualKey & 0xFFu, MAPVK_VK_TO_VSC);
    if (scanCode == 0)
        return {};
    wchar_t name[64] = {};
    const int length = ::GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name,
                                         static_cast<int>(std::size(name)));
    if (length <= 0)
        return {};
    return std::wstring(name, static_cast<std::size_t>(length));
}

KeyNameSource WindowsKeyNames() {
    return [](unsigned key) { return LayoutKeyName(key); };
}

std::wstring ShortCutText(std::uint16_t shortCut) {
    return ShortCutToText(shortCut, WindowsKeyNames());
}

} // namespace nestora::gui
