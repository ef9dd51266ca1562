#include "app/win_settings_store.h"

#include "gui/core/exceptions.h"

#include <array>

namespace nestora::app {

namespace {

// The "Lang" the key holds, or the default's when it holds none it can give.
std::wstring StoredLang(gui::TRegistry& registry, const std::wstring& defaultLang) {
    if (!registry.ValueExists(L"Lang"))
        return defaultLang;
    try {
        return registry.ReadString(L"Lang");
    } catch (const gui::ERegistryException&) {
        return defaultLang; // read as Russian, like the default
    }
}

// One place the machine's settings may be: a key below one of the roots, in a registry view.
struct MachineSettingsPlace {
    bool belowUser = false; // else below the machine's root
    const wchar_t* path = nullptr;
    REGSAM view = 0; // KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0
};

// In the order they are looked at.
const std::array<MachineSettingsPlace, 4>& MachineSettingsPlaces() {
    static const std::array<MachineSettingsPlace, 4> places = {{
        {true, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Nestora", 0},
        {true, L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Nestora", 0},
        {false, kSettingsKeyPath, KEY_WOW64_32KEY},
        {false, kSettingsKeyPath, KEY_WOW64_64KEY},
    }};
    return places;
}

} // namespace

SettingsReader::SettingsReader(const SettingsRoots& roots) : registry_(KEY_READ) {
    registry_.SetRootKey(roots.user);
    std::wstring path = kSettingsKeyPath;
    found_ = registry_.KeyExists(path);
    for (const MachineSettingsPlace& place : MachineSettingsPlaces()) {
        if (found_)
            break;
        registry_.SetRootKey(place.belowUser ? roots.user : roots.machine);
        registry_.SetAccess(KEY_READ | place.view);
        path = place.path;
        found_ = fromMachine_ = registry_.KeyExists(path);
    }
    // A key that exists but can't be opened shows itself at the first read, with the
    // value's message.
    if (found_)
        registry_.OpenKeyReadOnly(path);
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

void CompleteSettings(const SettingsRoots& roots, const StoredSettings& defaults,
                      const DefaultFolderNameFor& defaultFolderName) {
    try {
        gui::TRegistry registry(KEY_QUERY_VALUE | KEY_SET_VALUE);
        registry.SetRootKey(roots.user);
        if (!registry.OpenKey(kSettingsKeyPath, false))
            return;
        // In the order WriteSettings writes them: a cut write lacks the last ones.
        if (!registry.ValueExists(L"StartUp"))
            registry.WriteInteger(L"StartUp", static_cast<int>(defaults.startUp));
        if (!registry.ValueExists(L"FolderName")) {
            std::wstring name = defaults.folderName;
            if (defaultFolderName)
                name = defaultFolderName(StoredLang(registry, defaults.lang));
            registry.WriteString(L"FolderName", name);
        }
        if (!registry.ValueExists(L"HotKey"))
            registry.WriteString(L"HotKey", defaults.hotKey);
        if (!registry.ValueExists(L"Lang"))
            registry.WriteString(L"Lang", defaults.lang);
    } catch (const gui::ERegistryException&) {
        // Left as it is: the reading reports it.
    }
}

} // namespace nestora::app
