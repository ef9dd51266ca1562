// Registry values as tests put them in place and read them back, type and all, so that a
// value of the wrong type or a missing one is told apart from a wrong text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nestora::testing {

// Where the program keeps its settings (under HKEY_CURRENT_USER).
inline constexpr wchar_t kSettingsKey[] = L"Software\\Nestora";

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> bytes;

    // The text of a REG_SZ value (up to its first zero); nothing for any other type.
    std::optional<std::wstring> Text() const;
    // The number of a REG_DWORD value of four bytes; nothing otherwise.
    std::optional<DWORD> Number() const;
};

bool KeyExists(HKEY root, const wchar_t* key);
// Removes the key and everything below it; true also when it wasn't there.
bool DeleteKey(HKEY root, const wchar_t* key);
// Every value of the key by name; empty when the key is missing.
std::vector<std::pair<std::wstring, RegistryValue>> ValuesOf(HKEY root, const wchar_t* key);
std::optional<RegistryValue> ReadValue(HKEY root, const wchar_t* key, const wchar_t* name);
// A REG_SZ value's text, a REG_DWORD value's number; nothing when missing or of another type.
std::optional<std::wstring> ReadText(HKEY root, const wchar_t* key, const wchar_t* name);
std::optional<DWORD> ReadNumber(HKEY root, const wchar_t* key, const wchar_t* name);
// Write the value, creating the key when needed; false when it can't.
bool WriteValue(HKEY root, const wchar_t* key, const wchar_t* name, const RegistryValue& value);
bool WriteText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text);
bool WriteNumber(HKEY root, const wchar_t* key, const wchar_t* name, DWORD number);

RegistryValue TextValue(const std::wstring& text);
RegistryValue NumberValue(DWORD number);

} // namespace nestora::testing
