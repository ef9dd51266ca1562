// A scratch registry key for one test or benchmark, HKCU\Software\NestoraTests\<unique>,
// deleted with everything below it when its owner goes: code that takes a registry root
// (the settings, the run entries) is handed this one, so the user's own keys are never
// touched.
#pragma once

#include "gui/win/handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace nestora::testing {

class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY get() const { return key_.get(); }
    // Its path below HKEY_CURRENT_USER.
    const std::wstring& path() const { return path_; }

    // A key below this one, made when missing and open for everything.
    gui::UniqueKey Create(const wchar_t* subKey) const;

    // Values below it; a write that fails throws (std::runtime_error), which fails the test.
    void SetText(const wchar_t* subKey, const wchar_t* name, const std::wstring& value) const;
    void SetNumber(const wchar_t* subKey, const wchar_t* name, std::uint32_t value) const;
    bool Exists(const wchar_t* subKey) const;
    // Nothing when the value is missing or of another type.
    std::optional<std::wstring> Text(const wchar_t* subKey, const wchar_t* name) const;
    std::optional<std::uint32_t> Number(const wchar_t* subKey, const wchar_t* name) const;

private:
    std::wstring path_;
    gui::UniqueKey key_;
};

} // namespace nestora::testing
