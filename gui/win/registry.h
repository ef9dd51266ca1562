#pragma once
// TRegistry: reading and writing values under one open key of the Windows registry.
//
// RootKey is where paths start (HKEY_CURRENT_USER by default). It is a seam: any open key
// may serve as the root, so tests point a program's "HKEY_LOCAL_MACHINE\Software\Nestora"
// at a scratch key (SetRootKey with that key's handle) and never touch real settings.
//
// OpenKey opens a path below the root (a leading backslash) or below the key open now, and
// makes it current; CloseKey closes it. Values are read and written in the current key;
// with no key open they fail with the messages below, never touching the root itself.
//
// Errors (ERegistryException, texts exactly as the program shows them):
//   "Failed to get data for '%s'"  a value that is missing (numbers) or cannot be read; a
//                                  REG_DWORD read that finds more than 4 bytes
//   "Invalid data type for '%s'"   a number that is not REG_DWORD; a text that is neither
//                                  REG_SZ nor REG_EXPAND_SZ
//   "Failed to set data for '%s'"  a value that cannot be written
//   "Failed to create key %s"      a key that cannot be created
// A missing text value reads as the empty text without error. Text data is read safely
// whatever it holds (no terminating zero, an odd byte count, zeros inside, any length).

#include "gui/win/graphics_win32.h"

#include "gui/win/handles.h"

#include <cstdint>
#include <string>

namespace nestora::gui {

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    // Closes the current key. The root is borrowed: the caller keeps it open.
    void SetRootKey(HKEY root);
    REGSAM Access() const { return access_; }
    void SetAccess(REGSAM access) { access_ = access; }
    HKEY CurrentKey() const { return current_.get(); }
    const std::wstring& CurrentPath() const { return currentPath_; }

    // Opens (and with canCreate creates) the key; false when that fails.
    bool OpenKey(const std::wstring& path, bool canCreate);
    bool OpenKeyReadOnly(const std::wstring& path);
    void CloseKey();
    bool KeyExists(const std::wstring& path);
    // Creates the key (not opening it); ERegistryException when that fails.
    bool CreateKey(const std::wstring& path);
    // Deletes the key with everything below it; false when it could not.
    bool DeleteKey(const std::wstring& path);

    bool ValueExists(const std::wstring& name);
    TRegDataType GetDataType(const std::wstring& name);
    // Size of the value's data in bytes, or -1 when it cannot be read.
    int GetDataSize(const std::wstring& name);
    bool DeleteValue(const std::wstring& name);

    int ReadInteger(const std::wstring& name);
    void WriteInteger(const std::wstring& name, int value);
    bool ReadBool(const std::wstring& name) { return ReadInteger(name) != 0; }
    void WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    std::wstring ReadString(const std::wstring& name);
    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteExpandString(const std::wstring& name, const std::wstring& value);

private:
    // The key a path starts from, and the path relative to it.
    HKEY BaseFor(const std::wstring& path, std::wstring& relative) const;
    std::wstring Join(const std::wstring& path) const;
    void WriteText(const std::wstring& name, const std::wstring& value, DWORD type);

    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_;
    UniqueKey current_;
    std::wstring currentPath_;
};

} // namespace nestora::gui
