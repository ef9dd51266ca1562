#include "desktop/auto_exec.h"

#include "gui/win/handles.h"

#include <algorithm>
#include <vector>

namespace nestora::desktop {

HKEY AutoExecRootKey(AutoExecRoot root, const AutoExecRegistry& registry) {
    return root == AutoExecRoot::LocalMachine ? registry.localMachine : registry.currentUser;
}

bool RegisterAutoExec(TabfAutoExecKind kind, const std::wstring& fileName,
                      const AutoExecRegistry& registry) {
    if (IsServiceKind(kind) && registry.winNT)
        return false;
    const AutoExecKey key = AutoExecRegKey(kind);
    const std::wstring name = AutoExecValueName(fileName);
    // An unnamed value is the key's default value, which is no run entry at all.
    if (name.empty())
        return false;
    HKEY opened = nullptr;
    if (::RegCreateKeyExW(AutoExecRootKey(key.root, registry), key.path.c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const gui::UniqueKey run(opened);
    const std::wstring data = AutoExecValueData(fileName);
    const DWORD type = AutoExecIsExpandable(fileName) ? REG_EXPAND_SZ : REG_SZ;
    // The stored length counts the terminating zero.
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(run.get(), name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool UnregisterAutoExec(TabfAutoExecKind kind, const std::wstring& fileName,
                        const AutoExecRegistry& registry) {
    if (IsServiceKind(kind) && registry.winNT)
        return false;
    const AutoExecKey key = AutoExecRegKey(kind);
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(AutoExecRootKey(key.root, registry), key.path.c_str(), 0, KEY_ALL_ACCESS,
                        &opened) != ERROR_SUCCESS)
        return false;
    const gui::UniqueKey run(opened);
    const std::wstring name = AutoExecValueName(fileName);
    // Never the key's default value, whoever put it there.
    if (name.empty())
        return false;
    if (::RegQueryValueExW(run.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return true;
    return ::RegDeleteValueW(run.get(), name.c_str()) == ERROR_SUCCESS;
}

bool AutoExecDisabled(TabfAutoExecKind kind, const std::wstring& fileName,
                      const AutoExecRegistry& registry) {
    const std::wstring path = StartupApprovedKeyPath(kind);
    const std::wstring name = AutoExecValueName(fileName);
    if (path.empty() || name.empty())
        return false;
    const HKEY root = AutoExecRootKey(AutoExecRegKey(kind).root, registry);
    // The first byte tells; the rest is the time the entry was disabled.
    DWORD size = 0;
    if (::RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_BINARY, nullptr, nullptr,
                       &size) != ERROR_SUCCESS)
        return false;
    std::vector<unsigned char> data(size);
    if (::RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_BINARY, nullptr, data.data(),
                       &size) != ERROR_SUCCESS)
        return false;
    return StartupApprovedDisables({data.data(), std::min<std::size_t>(size, data.size())});
}

bool ClearAutoExecDisabledMark(TabfAutoExecKind kind, const std::wstring& fileName,
                               const AutoExecRegistry& registry) {
    if (!AutoExecDisabled(kind, fileName, registry))
        return true;
    return ::RegDeleteKeyValueW(AutoExecRootKey(AutoExecRegKey(kind).root, registry),
                                StartupApprovedKeyPath(kind).c_str(),
                                AutoExecValueName(fileName).c_str()) == ERROR_SUCCESS;
}

} // namespace nestora::desktop
