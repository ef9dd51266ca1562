// Where the program's four settings live in the registry, and reading and writing them.
//
// The key is the user's own: HKEY_CURRENT_USER\Software\Nestora, so settings need no
// administrator and every user has theirs. When the user has no key yet but the machine
// has one (HKEY_LOCAL_MACHINE\Software\Nestora, where settings were once kept, or left by
// an administrator as a starting point), the machine's values are read (read-only) as the
// starting settings; the first write then goes to the user's key.
//
// The old program was 32-bit and wrote to the machine's key. On Windows Vista and later,
// for a user without administrator rights, those writes really went to the user's
// VirtualStore copy, and for an administrator on 64-bit Windows to the 32-bit view of the
// machine's key. So the machine's settings are looked for, in this order, in
// HKEY_CURRENT_USER\Software\Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\Nestora,
// ...\VirtualStore\MACHINE\SOFTWARE\Nestora, the 32-bit view of the machine's key, and its
// 64-bit view; the first key found is the one read. Nothing is ever written to any of them.
//
// Values, types and error messages (gui::ERegistryException, shown by the application's
// error handler): "StartUp" REG_DWORD, "FolderName", "HotKey" and "Lang" REG_SZ;
// "Failed to get data for '%s'", "Invalid data type for '%s'", "Failed to set data for
// '%s'", "Failed to create key %s". A missing text value reads as the empty text. The
// reader hands out one value at a time, so that whoever reads them can stop at an error
// with the values before it taken and the rest untouched.
//
// Both roots are seams: tests point them at scratch keys.
#pragma once

#include "gui/win/registry.h"

#include <cstdint>
#include <functional>
#include <string>

namespace nestora::app {

inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Nestora";

struct SettingsRoots {
    HKEY user = HKEY_CURRENT_USER;
    HKEY machine = HKEY_LOCAL_MACHINE;
};

struct StoredSettings {
    std::uint32_t startUp = 0;
    std::wstring folderName;
    std::wstring hotKey; // the shortcut's text form
    std::wstring lang;
};

class SettingsReader {
public:
    // Opens the user's key, else the first of the machine's places that exists; Found()
    // tells whether any does.
    explicit SettingsReader(const SettingsRoots& roots);

    bool Found() const { return found_; }
    bool FromMachine() const { return fromMachine_; }

    std::uint32_t StartUp();
    std::wstring FolderName();
    std::wstring HotKey();
    std::wstring Lang();

private:
    gui::TRegistry registry_;
    bool found_ = false;
    bool fromMachine_ = false;
};

// Creates the user's key if needed and writes the four values in the order above; the
// first value that fails ends it with its error.
void WriteSettings(const SettingsRoots& roots, const StoredSettings& settings);

// Gives the user's key each of the four values it lacks, from defaults; a value that is
// there, of whatever type, stays as it is. Nothing happens when the key doesn't exist.
//
// A write that is cut short leaves such a key: the program ended (killed, crashed, the
// power gone) between making the key on its first start and writing the last value, or
// another copy read the key in that moment. Read as it stands, a missing "StartUp" would
// end in a message box and a missing "HotKey" in no hotkey at all, kept for good by the
// next write. Completed first, it reads as the values written plus the defaults, just as a
// missing key reads as the defaults.
//
// A missing "FolderName" takes the default name of the language the key holds (the one
// that will be applied), as defaultFolderName gives it for the stored "Lang" Text (or for
// the default's when "Lang" is missing too); without it, the defaults' name.
//
// Failures are not reported here: the reading that follows reports what can't be read.
using DefaultFolderNameFor = std::function<std::wstring(const std::wstring& lang)>;
void CompleteSettings(const SettingsRoots& roots, const StoredSettings& defaults,
                      const DefaultFolderNameFor& defaultFolderName = nullptr);

} // namespace nestora::app
