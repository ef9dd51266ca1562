#include "app/new_folder_targets.h"

namespace nestora::app {

void NewFolderTargets::createInFolder(const std::wstring& folder) {
    createNewFolder(fileSystem_, {folder, names_.name, names_.defaultName});
}

void NewFolderTargets::createOnDesktop() {
    const std::wstring desktop = desktop_.desktopPath();
    if (desktop.empty())
        return; // never a folder in the root of whatever drive is current
    const std::optional<std::wstring> created =
        createNewFolder(fileSystem_, {desktop, names_.name, names_.defaultName});
    if (!created)
        return;
    desktop_.announceNewFolder(*created);
    desktop_.startRename(*created);
}

} // namespace nestora::app
