// The desktop as the folder creation sees it (new_folder_targets.h), from the system:
// its folder, the shell's change notification and the rename in the desktop's view.
#pragma once

#include "app/folder_rename.h"
#include "app/new_folder_targets.h"
#include "app/win_thread_timer.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace nestora::app {

// The "Desktop" value of the shell-folder key below root, expanded; empty when missing.
std::wstring RegisteredDesktopPath(HKEY root);
// The desktop's known folder (FOLDERID_Desktop); empty when the shell has none.
std::wstring KnownDesktopPath();

class SystemDesktopShell final : public DesktopShell {
public:
    // userRoot: where "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
    // is looked up; KnownFolder: the desktop's known folder (both the system's but in tests).
    explicit SystemDesktopShell(HKEY userRoot = HKEY_CURRENT_USER,
                                std::function<std::wstring()> knownFolder = KnownDesktopPath)
        : userRoot_(userRoot), knownFolder_(std::move(knownFolder)) {}

    // The desktop's known folder; only when the shell can't give it, the "Desktop" value of
    // the user's shell-folder key. That key is kept for old programs and goes stale when
    // the desktop is redirected (synced or moved), and the rename looks the folder up on
    // the real desktop: a stale path could put another item of the same name into rename
    // mode.
    std::wstring DesktopPath() override;
    // SHCNE_MKDIR for the path, flushed: the desktop's view has the new item on return.
    void AnnounceNewFolder(const std::wstring& path) override;
    // Through the desktop's shell view (IShellWindows::FindWindowSW with SWC_DESKTOP, its
    // top-level browser's active view): the folder alone selected, focused, visible and
    // in rename mode; tried again on a timer while the view doesn't show it yet
    // (folder_rename.h).
    bool StartRename(const std::wstring& path) override;
    // The items selected in the desktop's view (win_shell_view.h).
    std::vector<std::wstring> SelectedPaths() override;

private:
    HKEY userRoot_;
    std::function<std::wstring()> knownFolder_;
    ThreadTimer renameTimer_;
    FolderRename rename_{renameTimer_};
};

} // namespace nestora::app
