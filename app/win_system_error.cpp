#include "app/win_system_error.h"

#include "gui/core/text.h"

#include <windows.h>

#include <array>

namespace nestora::app {

std::wstring SystemMessageText(std::uint32_t code, std::uint32_t languageId) {
    std::array<wchar_t, 512> buffer{};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         languageId, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    std::wstring text(buffer.data(), length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring SystemErrorText(std::uint32_t code, Language language) {
    const DWORD wanted = language == Language::english
                             ? MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)
                             : MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    std::wstring text = SystemMessageText(code, wanted);
    if (text.empty())
        text = SystemMessageText(code, 0);
    if (text.empty())
        text = L"Error " + gui::IntToStr(code);
    return text;
}

} // namespace nestora::app
