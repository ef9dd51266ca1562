#pragma once
// Small text helpers shared by the framework (ASCII identifiers, wide texts).

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace nestora::gui {

// Case-insensitive comparison of ASCII identifiers (class, property, enumeration names).
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);
bool EqualsIgnoreCaseAscii(std::wstring_view a, std::wstring_view b);
// Widens an ASCII identifier (bytes above 0x7F are taken as Latin-1).
std::wstring WidenAscii(std::string_view s);
// A component name must be a Pascal-style identifier: a letter or '_' then letters,
// digits or '_', ASCII only. The empty name is allowed (an unnamed component).
bool IsValidIdentifier(std::wstring_view name);
// The lowest `digits` hexadecimal digits of value, upper case, zero-padded ("%0*llX" without
// the C library's formatter, which costs the executable some 30 KB).
std::wstring HexDigits(std::uint64_t value, int digits);
// A whole number in decimal, as std::to_wstring gives it (which goes through the C library's
// formatter, and that costs the executable some 30 KB).
std::wstring IntToStr(long long value);
std::wstring IntToStr(unsigned long long value);
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
std::wstring IntToStr(T value) {
    if constexpr (std::is_signed_v<T>)
        return IntToStr(static_cast<long long>(value));
    else
        return IntToStr(static_cast<unsigned long long>(value));
}

} // namespace nestora::gui
