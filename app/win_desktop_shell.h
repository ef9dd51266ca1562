// The desktop as the folder creation sees it (new_folder_targets.h), from the system:
// its folder, the shell's change notification and the rename in the desktop's view.
#pragma once

#include "app/new_folder_targets.h"

#include <windows.h>

#include <string>

namespace nestora::app {

class SystemDesktopShell final : public DesktopShell {
public:
    // userRoot: where "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
    // is looked up (HKEY_CURRENT_USER but in tests).
    explicit SystemDesktopShell(HKEY userRoot = HKEY_CURRENT_USER) : userRoot_(userRoot) {}

    // The "Desktop" value of the user's shell-folder key; when that is missing or empty,
    // the desktop's known folder.
    std::wstring DesktopPath() override;
    // SHCNE_MKDIR for the path, flushed: the desktop's view has the new item on return.
    void AnnounceNewFolder(const std::wstring& path) override;
    // Through the desktop's shell view (IShellWindows::FindWindowSW with SWC_DESKTOP, its
    // top-level browser's active view): the folder alone selected, focused, visible and
    // in rename mode.
    bool StartRename(const std::wstring& path) override;

private:
    HKEY userRoot_;
};

// The "Desktop" value of the shell-folder key below root, expanded; empty when missing.
std::wstring RegisteredDesktopPath(HKEY root);
// The desktop's known folder (FOLDERID_Desktop); empty when the shell has none.
std::wstring KnownDesktopPath();

} // namespace nestora::app
