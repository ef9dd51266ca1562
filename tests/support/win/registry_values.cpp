#include "tests/support/win/registry_values.h"

#include "gui/win/handles.h"

#include <cstring>

namespace nestora::testing {

std::optional<std::wstring> RegistryValue::Text() const {
    if (type != REG_SZ)
        return std::nullopt;
    std::wstring result(bytes.size() / sizeof(wchar_t), L'\0');
    if (!result.empty())
        std::memcpy(result.data(), bytes.data(), result.size() * sizeof(wchar_t));
    const std::size_t end = result.find(L'\0');
    if (end != std::wstring::npos)
        result.resize(end);
    return result;
}

std::optional<DWORD> RegistryValue::Number() const {
    if (type != REG_DWORD || bytes.size() != sizeof(DWORD))
        return std::nullopt;
    DWORD result = 0;
    std::memcpy(&result, bytes.data(), sizeof result);
    return result;
}

bool KeyExists(HKEY root, const wchar_t* key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

bool DeleteKey(HKEY root, const wchar_t* key) {
    const LSTATUS status = ::RegDeleteTreeW(root, key);
    if (status == ERROR_FILE_NOT_FOUND)
        return true;
    // RegDeleteTree empties the key; the key itself still has to go.
    return status == ERROR_SUCCESS &&
           (!KeyExists(root, key) || ::RegDeleteKeyW(root, key) == ERROR_SUCCESS);
}

std::vector<std::pair<std::wstring, RegistryValue>> ValuesOf(HKEY root, const wchar_t* key) {
    std::vector<std::pair<std::wstring, RegistryValue>> values;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return values;
    const gui::UniqueKey owned(opened);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (::RegEnumValueW(opened, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        if (auto value = ReadValue(root, key, name))
            values.emplace_back(name, std::move(*value));
    }
    return values;
}

std::optional<RegistryValue> ReadValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const gui::UniqueKey owned(opened);
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(opened, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (::RegQueryValueExW(opened, name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

std::optional<std::wstring> ReadText(HKEY root, const wchar_t* key, const wchar_t* name) {
    const auto value = ReadValue(root, key, name);
    return value ? value->Text() : std::nullopt;
}

std::optional<DWORD> ReadNumber(HKEY root, const wchar_t* key, const wchar_t* name) {
    const auto value = ReadValue(root, key, name);
    return value ? value->Number() : std::nullopt;
}

bool WriteValue(HKEY root, const wchar_t* key, const wchar_t* name, const RegistryValue& value) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const gui::UniqueKey owned(opened);
    return ::RegSetValueExW(opened, name, 0, value.type, value.bytes.data(),
                            static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

RegistryValue TextValue(const std::wstring& text) {
    RegistryValue value{REG_SZ, std::vector<std::uint8_t>((text.size() + 1) * sizeof(wchar_t))};
    std::memcpy(value.bytes.data(), text.c_str(), value.bytes.size());
    return value;
}

RegistryValue NumberValue(DWORD number) {
    RegistryValue value{REG_DWORD, std::vector<std::uint8_t>(sizeof number)};
    std::memcpy(value.bytes.data(), &number, sizeof number);
    return value;
}

bool WriteText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    return WriteValue(root, key, name, TextValue(text));
}

bool WriteNumber(HKEY root, const wchar_t* key, const wchar_t* name, DWORD number) {
    return WriteValue(root, key, name, NumberValue(number));
}

} // namespace nestora::testing
