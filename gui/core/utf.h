#pragma once
// Conversions between UTF-8 (source files, window descriptions) and the wide strings the
// program works in (UTF-16 on Windows, UTF-32 where wchar_t is 32 bits).

#include <string>
#include <string_view>

namespace nestora::gui {

// Invalid UTF-8 sequences become U+FFFD; nothing is dropped silently.
std::wstring Utf8ToWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view wide);
// Appends one code point in the wide encoding of this platform.
void AppendCodePoint(std::wstring& out, char32_t codePoint);

} // namespace nestora::gui
