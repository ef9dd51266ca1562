#pragma once
// Scratch run keys for the start-with-Windows tests: HKCU\Software\NestoraTests\<unique>
// with one sub-key standing for each root, deleted again at the end. The real run keys are
// never touched.

#include "desktop/auto_exec.h"
#include "gui/win/handles.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace desktop::testing {

inline const std::wstring kRunPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

struct StoredValue {
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring data;
};

class ScratchRunKeys {
public:
    ScratchRunKeys() {
        std::random_device device;
        path_ = L"Software\\NestoraTests\\" + std::to_wstring(device()) + L"_" +
                std::to_wstring(::GetCurrentProcessId());
        machine_ = CreateKey(path_ + L"\\HKLM");
        user_ = CreateKey(path_ + L"\\HKCU");
        registry.localMachine = machine_.get();
        registry.currentUser = user_.get();
        registry.winNT = true;
    }
    ~ScratchRunKeys() {
        machine_.reset();
        user_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchRunKeys(const ScratchRunKeys&) = delete;
    ScratchRunKeys& operator=(const ScratchRunKeys&) = delete;

    HKEY Root(bool machine) const { return machine ? machine_.get() : user_.get(); }

    std::optional<StoredValue> Read(bool machine, const std::wstring& key,
                                    const std::wstring& name) const {
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(Root(machine), (kRunPath + key).c_str(), 0, KEY_READ, &opened) !=
            ERROR_SUCCESS)
            return std::nullopt;
        const gui::UniqueKey k(opened);
        StoredValue v;
        if (::RegQueryValueExW(k.get(), name.c_str(), nullptr, &v.type, nullptr, &v.bytes) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::vector<wchar_t> buffer(v.bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = v.bytes;
        ::RegQueryValueExW(k.get(), name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(buffer.data()), &size);
        v.data = buffer.data();
        return v;
    }
    bool KeyExists(bool machine, const std::wstring& key) const {
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(Root(machine), (kRunPath + key).c_str(), 0, KEY_READ, &opened) !=
            ERROR_SUCCESS)
            return false;
        ::RegCloseKey(opened);
        return true;
    }
    void Plant(bool machine, const std::wstring& key, const std::wstring& name,
               const std::wstring& data) const {
        ASSERT_EQ(::RegSetKeyValueW(Root(machine), (kRunPath + key).c_str(), name.c_str(), REG_SZ,
                                    data.c_str(),
                                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    void Remove(bool machine, const std::wstring& key, const std::wstring& name) const {
        ::RegDeleteKeyValueW(Root(machine), (kRunPath + key).c_str(), name.c_str());
    }

    AutoExecRegistry registry;

private:
    static gui::UniqueKey CreateKey(const std::wstring& path) {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return gui::UniqueKey(key);
    }

    std::wstring path_;
    gui::UniqueKey machine_, user_;
};

} // namespace desktop::testing
