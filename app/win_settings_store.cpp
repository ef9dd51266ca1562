#include "app/win_settings_store.h"

#include "gui/core/exceptions.h"

namespace nestora::app {

SettingsReader::SettingsReader(const SettingsRoots& roots) : registry_(KEY_READ) {
    registry_.SetRootKey(roots.user);
    if (registry_.KeyExists(kSettingsKeyPath)) {
        found_ = true;
    } else {
        registry_.SetRootKey(roots.machine);
        found_ = fromMachine_ = registry_.KeyExists(kSettingsKeyPath);
    }
    // A key that exists but can't be opened shows itself at the first read, with the
    // value's message.
    if (found_)
        registry_.OpenKeyReadOnly(kSettingsKeyPath);
}

std::uint32_t SettingsReader::StartUp() {
    return static_cast<std::uint32_t>(registry_.ReadInteger(L"StartUp"));
}

std::wstring SettingsReader::FolderName() {
    return registry_.ReadString(L"FolderName");
}

std::wstring SettingsReader::HotKey() {
    return registry_.ReadString(L"HotKey");
}

std::wstring SettingsReader::Lang() {
    return registry_.ReadString(L"Lang");
}

void WriteSettings(const SettingsRoots& roots, const StoredSettings& settings) {
    gui::TRegistry registry(KEY_ALL_ACCESS);
    registry.SetRootKey(roots.user);
    if (!registry.KeyExists(kSettingsKeyPath))
        registry.CreateKey(kSettingsKeyPath);
    registry.OpenKey(kSettingsKeyPath, false);
    registry.WriteInteger(L"StartUp", static_cast<int>(settings.startUp));
    registry.WriteString(L"FolderName", settings.folderName);
    registry.WriteString(L"HotKey", settings.hotKey);
    registry.WriteString(L"Lang", settings.lang);
}

void CompleteSettings(const SettingsRoots& roots, const StoredSettings& defaults) {
    try {
        gui::TRegistry registry(KEY_QUERY_VALUE | KEY_SET_VALUE);
        registry.SetRootKey(roots.user);
        if (!registry.OpenKey(kSettingsKeyPath, false))
            return;
        // In the order WriteSettings writes them: a cut write lacks the last ones.
        if (!registry.ValueExists(L"StartUp"))
            registry.WriteInteger(L"StartUp", static_cast<int>(defaults.startUp));
        if (!registry.ValueExists(L"FolderName"))
            registry.WriteString(L"FolderName", defaults.folderName);
        if (!registry.ValueExists(L"HotKey"))
            registry.WriteString(L"HotKey", defaults.hotKey);
        if (!registry.ValueExists(L"Lang"))
            registry.WriteString(L"Lang", defaults.lang);
    } catch (const gui::ERegistryException&) {
        // Left as it is: the reading reports it.
    }
}

} // namespace nestora::app
