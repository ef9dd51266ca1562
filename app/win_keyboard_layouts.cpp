#include "app/win_keyboard_layouts.h"

#include "app/text_case.h"

#include <windows.h>

namespace nestora::app {

namespace {

std::wstring CharacterKeyName(unsigned virtualKey, HKL layout) {
    // The top bit marks a dead key (an accent waiting for its letter): still the key's sign.
    const UINT character = ::MapVirtualKeyExW(virtualKey & 0xFFu, MAPVK_VK_TO_CHAR, layout);
    const auto unit = static_cast<wchar_t>(character & 0xFFFFu);
    if (unit < L' ')
        return {};
    return std::wstring(1, ToUpperInvariant(unit));
}

} // namespace

std::vector<KeyNameSource> InstalledLayoutKeyNames() {
    std::vector<KeyNameSource> sources;
    const int count = ::GetKeyboardLayoutList(0, nullptr);
    if (count <= 0)
        return sources;
    std::vector<HKL> layouts(static_cast<std::size_t>(count));
    const int got = ::GetKeyboardLayoutList(count, layouts.data());
    layouts.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    for (const HKL layout : layouts)
        sources.push_back([layout](unsigned key) { return CharacterKeyName(key, layout); });
    return sources;
}

} // namespace nestora::app
