#pragma once
// Scratch run keys for the start-with-Windows tests: HKCU\Software\NestoraTests\<unique>
// with one sub-key standing for each root, deleted again at the end. The real run keys are
// never touched.

#include "desktop/auto_exec.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/scratch_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace nestora::desktop::testing {

inline const std::wstring kRunPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

struct StoredValue {
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring data; // up to the first zero, whatever the type
};

class ScratchRunKeys {
public:
    ScratchRunKeys() : machine_(scratch_.Create(L"HKLM")), user_(scratch_.Create(L"HKCU")) {
        registry.localMachine = machine_.get();
        registry.currentUser = user_.get();
        registry.winNT = true;
    }

    HKEY Root(bool machine) const { return machine ? machine_.get() : user_.get(); }

    std::optional<StoredValue> Read(bool machine, const std::wstring& key,
                                    const std::wstring& name) const {
        const auto value =
            nestora::testing::ReadValue(Root(machine), (kRunPath + key).c_str(), name.c_str());
        if (!value)
            return std::nullopt;
        std::wstring data(value->bytes.size() / sizeof(wchar_t), L'\0');
        if (!data.empty())
            std::memcpy(data.data(), value->bytes.data(), data.size() * sizeof(wchar_t));
        data.resize(std::wcslen(data.c_str()));
        return StoredValue{value->type, static_cast<DWORD>(value->bytes.size()), data};
    }
    bool KeyExists(bool machine, const std::wstring& key) const {
        return nestora::testing::KeyExists(Root(machine), (kRunPath + key).c_str());
    }
    void Plant(bool machine, const std::wstring& key, const std::wstring& name,
               const std::wstring& data) const {
        ASSERT_TRUE(nestora::testing::WriteText(Root(machine), (kRunPath + key).c_str(),
                                                name.c_str(), data));
    }
    void Remove(bool machine, const std::wstring& key, const std::wstring& name) const {
        ::RegDeleteKeyValueW(Root(machine), (kRunPath + key).c_str(), name.c_str());
    }

    AutoExecRegistry registry;

private:
    // Declared first: it goes last, after the keys opened in it.
    nestora::testing::ScratchKey scratch_;
    gui::UniqueKey machine_, user_;
};

} // namespace nestora::desktop::testing
