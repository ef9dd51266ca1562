// Case-insensitive comparison of names as Windows does it for file names and key names:
// both sides are mapped to upper case one UTF-16 unit at a time, with no locale involved.
//
// The mapping covers the scripts a user of this program types names in (Latin with its
// Western and Central European letters, Greek, Cyrillic). Letters outside it compare
// exactly; callers that act on the file system never rely on this alone (a name the file
// system calls taken after all is still caught when the directory is created).
#pragma once

#include <string>
#include <string_view>

namespace nestora::app {

wchar_t ToUpperInvariant(wchar_t c);
std::wstring ToUpperInvariant(std::wstring_view text);
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix);

} // namespace nestora::app
