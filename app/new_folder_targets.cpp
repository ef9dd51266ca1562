#include "app/new_folder_targets.h"

namespace nestora::app {

std::optional<std::wstring> NewFolderTargets::Create(const std::wstring& target) {
    std::optional<std::wstring> created =
        CreateNewFolder(fileSystem_, {target, names_.name, names_.defaultName});
    // A press that makes nothing and says nothing looks like a hotkey that doesn't work.
    if (!created && reports_.notMade)
        reports_.notMade(target, IsAbsoluteFolderPath(target) ? fileSystem_.LastCreateError()
                                                              : kBadTargetError);
    return created;
}

void NewFolderTargets::CreateInFolder(const std::wstring& folder) {
    Create(folder);
}

void NewFolderTargets::ReportNoFolderOnDisk() {
    if (reports_.noFolderOnDisk)
        reports_.noFolderOnDisk();
}

void NewFolderTargets::CreateOnDesktop() {
    const std::wstring desktop = desktop_.DesktopPath();
    if (desktop.empty())
        return; // never a folder in the root of whatever drive is current
    const std::optional<std::wstring> created = Create(desktop);
    if (!created)
        return;
    desktop_.AnnounceNewFolder(*created);
    desktop_.StartRename(*created);
}

} // namespace nestora::app
