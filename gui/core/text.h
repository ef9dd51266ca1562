#pragma once
// Small text helpers shared by the framework (ASCII identifiers, wide texts).

#include <string>
#include <string_view>

namespace gui {

// Case-insensitive comparison of ASCII identifiers (class, property, enumeration names).
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);
bool EqualsIgnoreCaseAscii(std::wstring_view a, std::wstring_view b);
// Widens an ASCII identifier (bytes above 0x7F are taken as Latin-1).
std::wstring WidenAscii(std::string_view s);
// A component name must be a Pascal-style identifier: a letter or '_' then letters,
// digits or '_', ASCII only. The empty name is allowed (an unnamed component).
bool IsValidIdentifier(std::wstring_view name);

} // namespace gui
