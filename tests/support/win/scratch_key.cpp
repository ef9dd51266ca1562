#include "tests/support/win/scratch_key.h"

#include "tests/support/win/registry_values.h"

#include <random>
#include <stdexcept>

namespace nestora::testing {

namespace {

gui::UniqueKey CreateKey(HKEY root, const wchar_t* path) {
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
      key_(CreateKey(HKEY_CURRENT_USER, path_.c_str())) {}

ScratchKey::~ScratchKey() {
    key_.reset();
    DeleteKey(HKEY_CURRENT_USER, path_.c_str());
}

gui::UniqueKey ScratchKey::Create(const wchar_t* subKey) const {
    return CreateKey(get(), subKey);
}

void ScratchKey::SetText(const wchar_t* subKey, const wchar_t* name,
                         const std::wstring& value) const {
    if (!WriteText(get(), subKey, name, value))
        throw std::runtime_error("a text could not be written to the scratch key");
}

void ScratchKey::SetNumber(const wchar_t* subKey, const wchar_t* name, std::uint32_t value) const {
    if (!WriteNumber(get(), subKey, name, value))
        throw std::runtime_error("a number could not be written to the scratch key");
}

bool ScratchKey::Exists(const wchar_t* subKey) const {
    return KeyExists(get(), subKey);
}

std::optional<std::wstring> ScratchKey::Text(const wchar_t* subKey, const wchar_t* name) const {
    return ReadText(get(), subKey, name);
}

std::optional<std::uint32_t> ScratchKey::Number(const wchar_t* subKey, const wchar_t* name) const {
    return ReadNumber(get(), subKey, name);
}

} // namespace nestora::testing
