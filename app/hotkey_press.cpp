#include "app/hotkey_press.h"

#include "app/location_path.h"

#include <vector>

namespace nestora::app {

namespace {

using Items = std::vector<std::unique_ptr<ShellWindowItem>>;

// The focused items that get a folder: the active tab's alone when one of them is it.
Items ItemsOfActiveTab(Items focused, PressWindows& windows, WindowId frame) {
    if (focused.size() < 2)
        return focused;
    const WindowId tab = windows.ActiveTab(frame);
    if (tab == 0)
        return focused;
    Items active;
    for (auto& item : focused) {
        if (item->BrowserWindow() == tab)
            active.push_back(std::move(item));
    }
    if (active.empty())
        return focused;
    return active;
}

void CreateInShellWindow(ShellWindowItem& item, WindowId frame, FolderTargets& targets,
                         PressKind kind) {
    const std::optional<std::wstring> location = item.LocationUrl();
    if (!location)
        return; // the window closed meanwhile
    const std::optional<std::wstring> folder = FolderPathFromLocation(*location);
    if (!folder) {
        // Not a folder on disk: nothing to create, nothing to refresh, nothing moved.
        targets.ReportNoFolderOnDisk();
        return;
    }
    std::unique_ptr<ShellFolderView> view = item.ActiveView();
    // The selection is read before the folder exists: the new folder is never among it.
    const std::vector<std::wstring> selected = kind == PressKind::withSelection && view
                                                   ? view->SelectedPaths()
                                                   : std::vector<std::wstring>();
    const std::optional<std::wstring> created = targets.CreateInFolder(*folder, selected, frame);
    item.Refresh();
    if (created && view)
        targets.StartRename(std::move(view), *created);
}

} // namespace

void HandleHotKeyPress(ShellAutomation* shell, PressWindows& windows, FolderTargets& targets,
                       PressKind kind) {
    const std::unique_ptr<ShellWindowCollection> collection = shell ? shell->Windows() : nullptr;
    const std::optional<long> count = collection ? collection->Count() : std::nullopt;
    if (!count || *count <= 0) {
        targets.CreateOnDesktop(kind);
        return;
    }

    const WindowId foreground = windows.ForegroundWindow();
    if (windows.IsDesktop(foreground)) {
        targets.CreateOnDesktop(kind);
        return;
    }
    Items focused;
    bool anyOther = false;
    bool othersMinimised = true;
    for (long index = 0; index < *count; ++index) {
        std::unique_ptr<ShellWindowItem> item = collection->Item(index);
        if (!item)
            continue;
        const std::optional<WindowId> frame = item->FrameWindow();
        if (!frame || *frame == 0)
            continue; // closed meanwhile, or no window of its own
        if (*frame == foreground) {
            focused.push_back(std::move(item));
            continue;
        }
        anyOther = true;
        if (othersMinimised && !windows.IsMinimised(*frame))
            othersMinimised = false;
    }

    if (!focused.empty()) {
        for (auto& item : ItemsOfActiveTab(std::move(focused), windows, foreground))
            CreateInShellWindow(*item, foreground, targets, kind);
        return;
    }
    if (anyOther && othersMinimised)
        targets.CreateOnDesktop(kind);
}

} // namespace nestora::app
