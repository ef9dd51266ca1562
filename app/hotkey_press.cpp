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

void CreateInShellWindow(ShellWindowItem& item, FolderTargets& targets) {
    const std::optional<std::wstring> location = item.LocationUrl();
    if (!location)
        return; // the window closed meanwhile
    const std::optional<std::wstring> folder = FolderPathFromLocation(*location);
    if (!folder)
        return; // not a folder on disk: nothing to create, nothing to refresh
    targets.CreateInFolder(*folder);
    item.Refresh();
}

} // namespace

void HandleHotKeyPress(ShellAutomation* shell, PressWindows& windows, FolderTargets& targets) {
    const std::unique_ptr<ShellWindowCollection> collection = shell ? shell->Windows() : nullptr;
    const std::optional<long> count = collection ? collection->count() : std::nullopt;
    if (!count || *count <= 0) {
        targets.CreateOnDesktop();
        return;
    }

    const WindowId foreground = windows.ForegroundWindow();
    std::optional<int> minimised; // counted when first needed
    Items focused;
    bool toDesktop = false;
    for (long index = 0; index < *count; ++index) {
        std::unique_ptr<ShellWindowItem> item = collection->Item(index);
        if (!item)
            continue;
        const std::optional<WindowId> frame = item->FrameWindow();
        if (!frame)
            continue;
        if (*frame != 0 && *frame == foreground) {
            focused.push_back(std::move(item));
            continue;
        }
        if (!minimised)
            minimised = windows.MinimisedWindowCount();
        if (*minimised == *count || windows.IsDesktop(foreground)) {
            toDesktop = true;
            break;
        }
    }

    // The focused window's folder comes first, as it was found first.
    for (auto& item : ItemsOfActiveTab(std::move(focused), windows, foreground))
        CreateInShellWindow(*item, targets);
    if (toDesktop)
        targets.CreateOnDesktop();
}

} // namespace nestora::app
