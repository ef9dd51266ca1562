#include "app/new_folder_targets.h"

namespace nestora::app {

void NewFolderTargets::CreateInFolder(const std::wstring& folder) {
    CreateNewFolder(fileSystem_, {folder, names_.name, names_.defaultName});
}

void NewFolderTargets::CreateOnDesktop() {
    const std::wstring desktop = desktop_.DesktopPath();
    if (desktop.empty())
        return; // never a folder in the root of whatever drive is current
    const std::optional<std::wstring> created =
        CreateNewFolder(fileSystem_, {desktop, names_.name, names_.defaultName});
    if (!created)
        return;
    desktop_.AnnounceNewFolder(*created);
    desktop_.StartRename(*created);
}

} // namespace nestora::app
