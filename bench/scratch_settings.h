// A scratch registry key (HKCU\Software\NestoraBench\<process id>) that a benchmark hands
// to the main window for its settings and run entries, deleted with everything below it
// when the benchmark ends, so a run never touches the user's own settings.
#pragma once

#include <windows.h>

#include <string>

namespace nestora::bench {

class ScratchSettings {
public:
    ScratchSettings()
        : path_(L"Software\\NestoraBench\\" + std::to_wstring(::GetCurrentProcessId())) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key_, nullptr);
    }
    ~ScratchSettings() {
        if (key_)
            ::RegCloseKey(key_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;
    HKEY get() const { return key_; }

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

} // namespace nestora::bench
