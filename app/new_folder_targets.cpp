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

void NewFolderTargets::Move(const std::vector<std::wstring>& items, const std::wstring& folder,
                            WindowId owner) {
    if (items.empty() || !mover_)
        return;
    mover_->MoveInto(items, folder, owner);
}

std::optional<std::wstring> NewFolderTargets::CreateInFolder(const std::wstring& folder,
                                                             const std::vector<std::wstring>& items,
                                                             WindowId owner) {
    std::optional<std::wstring> created = Create(folder);
    if (created)
        Move(items, *created, owner);
    return created;
}

void NewFolderTargets::StartRename(std::unique_ptr<RenameView> view, const std::wstring& path) {
    if (renames_)
        renames_(std::move(view), path);
}

void NewFolderTargets::ReportNoFolderOnDisk() {
    if (reports_.noFolderOnDisk)
        reports_.noFolderOnDisk();
}

void NewFolderTargets::CreateOnDesktop(PressKind kind) {
    const std::wstring desktop = desktop_.DesktopPath();
    if (desktop.empty())
        return; // never a folder in the root of whatever drive is current
    // The selection is read before the folder exists: the new folder is never among it.
    const std::vector<std::wstring> selected =
        kind == PressKind::withSelection ? desktop_.SelectedPaths() : std::vector<std::wstring>();
    const std::optional<std::wstring> created = Create(desktop);
    if (!created)
        return;
    Move(selected, *created, 0);
    desktop_.AnnounceNewFolder(*created);
    desktop_.StartRename(*created);
}

} // namespace nestora::app
