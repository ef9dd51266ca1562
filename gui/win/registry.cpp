#include "gui/win/registry.h"

#include "gui/core/exceptions.h"
#include "gui/core/registry_text.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace nestora::gui {

namespace {

[[noreturn]] void Fail(const wchar_t* pattern, const std::wstring& name) {
    throw ERegistryException(FormatText(pattern, {name}));
}

constexpr const wchar_t* kGetFailed = L"Failed to get data for '%s'";
constexpr const wchar_t* kBadType = L"Invalid data type for '%s'";
constexpr const wchar_t* kSetFailed = L"Failed to set data for '%s'";
constexpr const wchar_t* kCreateFailed = L"Failed to create key %s";

std::wstring TrimSlashes(std::wstring path) {
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    std::size_t start = 0;
    while (start < path.size() && path[start] == L'\\')
        ++start;
    return path.substr(start);
}

UniqueKey OpenSubKey(HKEY base, const std::wstring& relative, REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(base, relative.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return {};
    return UniqueKey(key);
}

UniqueKey CreateSubKey(HKEY base, const std::wstring& relative, REGSAM access) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return {};
    return UniqueKey(key);
}

// Text values as they are stored: never expanded (a path with %SystemRoot% is read as
// written; the caller expands it when it wants to).
constexpr DWORD kTextTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;

} // namespace

TRegistry::TRegistry(REGSAM access) : access_(access) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

HKEY TRegistry::BaseFor(const std::wstring& path, std::wstring& relative) const {
    relative = TrimSlashes(path);
    if (!path.empty() && path.front() == L'\\')
        return root_;
    return current_ ? current_.get() : root_;
}

std::wstring TRegistry::Join(const std::wstring& path) const {
    const std::wstring relative = TrimSlashes(path);
    if ((!path.empty() && path.front() == L'\\') || !current_ || currentPath_.empty())
        return relative;
    return relative.empty() ? currentPath_ : currentPath_ + L"\\" + relative;
}

bool TRegistry::OpenKey(const std::wstring& path, bool canCreate) {
    std::wstring relative;
    const HKEY base = BaseFor(path, relative);
    UniqueKey key =
        canCreate ? CreateSubKey(base, relative, access_) : OpenSubKey(base, relative, access_);
    if (!key)
        return false;
    std::wstring fullPath = Join(path);
    current_ = std::move(key);
    currentPath_ = std::move(fullPath);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& path) {
    const REGSAM saved = access_;
    access_ = KEY_READ | (saved & (KEY_WOW64_32KEY | KEY_WOW64_64KEY));
    const bool opened = OpenKey(path, false);
    access_ = saved;
    return opened;
}

void TRegistry::CloseKey() {
    current_.reset();
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::wstring& path) {
    std::wstring relative;
    const HKEY base = BaseFor(path, relative);
    return static_cast<bool>(OpenSubKey(
        base, relative, KEY_QUERY_VALUE | (access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY))));
}

bool TRegistry::CreateKey(const std::wstring& path) {
    std::wstring relative;
    const HKEY base = BaseFor(path, relative);
    if (relative.empty() || !CreateSubKey(base, relative, access_))
        Fail(kCreateFailed, path);
    return true;
}

bool TRegistry::DeleteKey(const std::wstring& path) {
    std::wstring relative;
    const HKEY base = BaseFor(path, relative);
    if (relative.empty())
        return false; // never the base key itself
    return ::RegDeleteTreeW(base, relative.c_str()) == ERROR_SUCCESS;
}

// What is stored about a value (its presence, type and size as written) is asked of
// RegQueryValueExW without its data; the data itself is read through RegGetValueW.
bool TRegistry::ValueExists(const std::wstring& name) {
    return current_ && ::RegQueryValueExW(current_.get(), name.c_str(), nullptr, nullptr, nullptr,
                                          nullptr) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const std::wstring& name) {
    DWORD type = REG_NONE;
    if (!current_ || ::RegQueryValueExW(current_.get(), name.c_str(), nullptr, &type, nullptr,
                                        nullptr) != ERROR_SUCCESS)
        return TRegDataType::rdUnknown;
    switch (type) {
    case REG_SZ:
        return TRegDataType::rdString;
    case REG_EXPAND_SZ:
        return TRegDataType::rdExpandString;
    case REG_DWORD:
        return TRegDataType::rdInteger;
    case REG_BINARY:
        return TRegDataType::rdBinary;
    default:
        return TRegDataType::rdUnknown;
    }
}

int TRegistry::GetDataSize(const std::wstring& name) {
    DWORD size = 0;
    if (!current_ || ::RegQueryValueExW(current_.get(), name.c_str(), nullptr, nullptr, nullptr,
                                        &size) != ERROR_SUCCESS)
        return -1;
    return size > static_cast<DWORD>(std::numeric_limits<int>::max()) ? -1 : static_cast<int>(size);
}

bool TRegistry::DeleteValue(const std::wstring& name) {
    return current_ && ::RegDeleteValueW(current_.get(), name.c_str()) == ERROR_SUCCESS;
}

int TRegistry::ReadInteger(const std::wstring& name) {
    if (!current_)
        Fail(kGetFailed, name);
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG rc = ::RegGetValueW(current_.get(), nullptr, name.c_str(), RRF_RT_REG_DWORD, &type,
                                   &data, &size);
    if (rc == ERROR_SUCCESS)
        return static_cast<int>(data);
    // More than four bytes of data cannot be read as a number whatever their type; four or
    // fewer of another type are of the wrong type.
    if (rc == ERROR_UNSUPPORTED_TYPE && size <= sizeof data)
        Fail(kBadType, name);
    Fail(kGetFailed, name);
}

void TRegistry::WriteInteger(const std::wstring& name, int value) {
    const auto data = static_cast<DWORD>(value);
    if (!current_ ||
        ::RegSetValueExW(current_.get(), name.c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&data), sizeof data) != ERROR_SUCCESS)
        Fail(kSetFailed, name);
}

std::wstring TRegistry::ReadString(const std::wstring& name) {
    if (!current_)
        Fail(kGetFailed, name);
    std::vector<unsigned char> data;
    DWORD size = 0;
    const auto read = [&](std::size_t capacity) {
        data.assign(capacity, 0);
        size = static_cast<DWORD>(capacity);
        return ::RegGetValueW(current_.get(), nullptr, name.c_str(), kTextTypes, nullptr,
                              data.data(), &size);
    };
    // Most values fit the first buffer. A longer one is read again at the size it gave, with
    // room for the terminator the system adds to data stored without one; a value that grew
    // again in between is one that cannot be read.
    LONG rc = read(256);
    if (rc == ERROR_MORE_DATA)
        rc = read(std::size_t{size} + sizeof(wchar_t));
    switch (rc) {
    case ERROR_SUCCESS:
        return RegistryTextFromBytes(data.data(), std::min<std::size_t>(size, data.size()));
    case ERROR_FILE_NOT_FOUND:
        return {};
    case ERROR_UNSUPPORTED_TYPE:
        Fail(kBadType, name);
    default:
        Fail(kGetFailed, name);
    }
}

void TRegistry::WriteText(const std::wstring& name, const std::wstring& value, DWORD type) {
    const std::size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    if (!current_ || bytes > std::numeric_limits<DWORD>::max() ||
        ::RegSetValueExW(current_.get(), name.c_str(), 0, type,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(bytes)) != ERROR_SUCCESS)
        Fail(kSetFailed, name);
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
    WriteText(name, value, REG_SZ);
}

void TRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
    WriteText(name, value, REG_EXPAND_SZ);
}

} // namespace nestora::gui
