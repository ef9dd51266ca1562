// A scratch registry key for one test (HKCU\Software\NestoraTests\<unique>), deleted with
// everything below it when the test ends, and helpers to put values into it and read them.
#pragma once

#include "gui/win/graphics_win32.h"

#include "gui/win/handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace nestora::app::testing {

class ScratchKey {
public:
    ScratchKey() {
        std::random_device device;
        path_ = L"Software\\NestoraTests\\" + std::to_wstring(device()) + L"_" +
                std::to_wstring(::GetCurrentProcessId());
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr);
        key_.reset(key);
    }
    ~ScratchKey() {
        key_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY get() const { return key_.get(); }

    void setText(const wchar_t* subKey, const wchar_t* name, const std::wstring& value) {
        ASSERT_EQ(::RegSetKeyValueW(get(), subKey, name, REG_SZ, value.c_str(),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    void setNumber(const wchar_t* subKey, const wchar_t* name, std::uint32_t value) {
        ASSERT_EQ(::RegSetKeyValueW(get(), subKey, name, REG_DWORD, &value, sizeof value),
                  ERROR_SUCCESS);
    }
    bool exists(const wchar_t* subKey) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(get(), subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }
    std::optional<std::wstring> text(const wchar_t* subKey, const wchar_t* name) const {
        wchar_t buffer[512] = {};
        DWORD size = sizeof buffer;
        if (::RegGetValueW(get(), subKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer);
    }
    std::optional<std::uint32_t> number(const wchar_t* subKey, const wchar_t* name) const {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (::RegGetValueW(get(), subKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return value;
    }

private:
    std::wstring path_;
    gui::UniqueKey key_;
};

} // namespace nestora::app::testing
