#include "app/folder_name.h"

#include "app/text_case.h"

#include <array>
#include <cstdint>

namespace nestora::app {

namespace {

// Where wchar_t holds whole code points, those past U+FFFF still take two units on disk.
std::size_t Utf16Length(std::wstring_view text) {
    std::size_t length = text.size();
    if constexpr (sizeof(wchar_t) > 2) {
        for (const wchar_t c : text)
            length += (static_cast<std::uint32_t>(c) >> 16) != 0 ? 1 : 0;
    }
    return length;
}

// Windows also reserves COM and LPT with the superscript digits ¹ ² ³.
bool IsDeviceDigit(wchar_t c) {
    return (c >= L'1' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

} // namespace

bool HasForbiddenCharacter(std::wstring_view name) {
    for (const wchar_t c : name) {
        if (static_cast<std::uint32_t>(c) < 0x20 ||
            kForbiddenNameCharacters.find(c) != std::wstring_view::npos)
            return true;
    }
    return false;
}

bool IsReservedDeviceName(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    static constexpr std::array<std::wstring_view, 4> plain = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (const auto device : plain) {
        if (EqualsIgnoreCase(stem, device))
            return true;
    }
    return stem.size() == 4 &&
           (StartsWithIgnoreCase(stem, L"COM") || StartsWithIgnoreCase(stem, L"LPT")) &&
           IsDeviceDigit(stem[3]);
}

std::wstring UsableFolderName(std::wstring_view name, std::wstring_view defaultName) {
    while (!name.empty() && name.back() == L' ')
        name.remove_suffix(1);
    if (name.empty() || HasForbiddenCharacter(name) || IsReservedDeviceName(name) ||
        Utf16Length(name) > kMaxFolderNameLength)
        return std::wstring(defaultName);
    return std::wstring(name);
}

} // namespace nestora::app
