#include "tests/support/win/scratch_key.h"

#include "tests/support/win/registry_values.h"

#include <random>
#include <stdexcept>

namespace nestora::testing {

namespace {

gui::UniqueKey createKey(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("a scratch registry key could not be made");
    return gui::UniqueKey(key);
}

} // namespace

// The random part keeps two test programs running at once (ctest -j2) apart.
ScratchKey::ScratchKey()
    : path_(L"Software\\NestoraTests\\" + std::to_wstring(std::random_device{}()) + L"_" +
            std::to_wstring(::GetCurrentProcessId())),
      key_(createKey(HKEY_CURRENT_USER, path_.c_str())) {}

ScratchKey::~ScratchKey() {
    key_.reset();
    deleteKey(HKEY_CURRENT_USER, path_.c_str());
}

gui::UniqueKey ScratchKey::create(const wchar_t* subKey) const {
    return createKey(get(), subKey);
}

void ScratchKey::setText(const wchar_t* subKey, const wchar_t* name,
                         const std::wstring& value) const {
    if (!writeText(get(), subKey, name, value))
        throw std::runtime_error("a text could not be written to the scratch key");
}

void ScratchKey::setNumber(const wchar_t* subKey, const wchar_t* name, std::uint32_t value) const {
    if (!writeNumber(get(), subKey, name, value))
        throw std::runtime_error("a number could not be written to the scratch key");
}

bool ScratchKey::exists(const wchar_t* subKey) const {
    return keyExists(get(), subKey);
}

std::optional<std::wstring> ScratchKey::text(const wchar_t* subKey, const wchar_t* name) const {
    return readText(get(), subKey, name);
}

std::optional<std::uint32_t> ScratchKey::number(const wchar_t* subKey, const wchar_t* name) const {
    return readNumber(get(), subKey, name);
}

} // namespace nestora::testing
