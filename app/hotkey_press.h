// What one press of the hotkey does: which folder gets the new folder.
//
// The shell's automation object lists the open shell windows. The Explorer window that
// has the focus gets the folder in the folder it shows, and is refreshed; the desktop gets
// it instead when no shell window is open, when the desktop has the focus, or when every
// shell window is minimised and none has the focus (the user is looking at the desktop
// then). A press makes one folder: a focused Explorer window never sends a second one to
// the desktop. Only the shell's own windows are looked at; minimised windows of other
// programs (hidden ones of other tray tools among them) say nothing about what the user sees.
//
// The shell object, its window collection and the desktop are seams: the Windows side
// calls the real automation object late-bound (win_shell_automation.h), tests hand in
// fakes. A press makes one call of `Windows` and one of `Count`, then `Item` and `HWND`
// for each window, and `LocationURL` and `Refresh` for the focused one: 2N + 4 calls with
// N shell windows. With the desktop in the foreground the windows are not asked at all.
//
// Failures: when the shell object or its window collection can't be had, the press goes
// to the desktop, as with no shell window open. A window that closes during the scan (one
// of its calls fails) is skipped. A failing `Refresh` is an error the caller reports.
//
// Rename: the folder made in an Explorer window is then selected alone and put into rename
// mode in that window's view (its active tab's), as on the desktop (folder_rename.h). The
// view is reached without late binding and is no part of the 2N + 4.
//
// The selection key (the hotkey with Shift): the same target; the items selected in its
// view move into the new folder, which is then put into rename mode. Nothing selected: a
// plain press. A window that shows no folder on disk gets nothing, selection or not.
//
// Tabs: a tabbed Explorer (Windows 11) lists each tab as its own item, and all the tabs of
// one window report the same `HWND`. Of the items whose `HWND` is the focused window only
// the one whose browser window is the frame's active tab counts; when no item can be
// matched that way (an Explorer without tabs) every focused item counts.
#pragma once

#include "app/folder_rename.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nestora::app {

// A window handle as a number (the low 32 bits, which are all Windows uses of a handle);
// 0 for none.
using WindowId = std::uint32_t;

// The view a shell window shows its folder in (the desktop's, or an Explorer window's active
// tab's): a rename target, and the items the user selected there.
class ShellFolderView : public RenameView {
public:
    // The paths on disk of the items selected in the view, in the view's order; items
    // without a path on disk are left out.
    virtual std::vector<std::wstring> SelectedPaths() = 0;
};

// Which key was pressed.
enum class PressKind {
    newFolder,     // the hotkey: a new folder
    withSelection, // the selection key: a new folder holding the selected items
};

// One item of the shell's window collection.
class ShellWindowItem {
public:
    virtual ~ShellWindowItem() = default;
    // `HWND`: the Explorer frame; nothing when the call fails.
    virtual std::optional<WindowId> FrameWindow() = 0;
    // `LocationURL`; nothing when the call fails.
    virtual std::optional<std::wstring> LocationUrl() = 0;
    // `Refresh`; throws when the call fails.
    virtual void Refresh() = 0;
    // The window that the item's top-level browser reports (a tab of a tabbed Explorer);
    // nothing when the item doesn't tell.
    virtual std::optional<WindowId> BrowserWindow() = 0;
    // The view of the item's folder (its top-level browser's active view); null when it
    // can't be reached.
    virtual std::unique_ptr<ShellFolderView> ActiveView() { return nullptr; }
};

// `Windows`: the collection of open shell windows.
class ShellWindowCollection {
public:
    virtual ~ShellWindowCollection() = default;
    // `Count`; nothing when the call fails.
    virtual std::optional<long> Count() = 0;
    // `Item` with the index from 0; null when the call fails.
    virtual std::unique_ptr<ShellWindowItem> Item(long index) = 0;
};

// The shell automation object ("Shell.Application").
class ShellAutomation {
public:
    virtual ~ShellAutomation() = default;
    // `Windows`; null when the call fails.
    virtual std::unique_ptr<ShellWindowCollection> Windows() = 0;
};

// Makes the shell automation object for one press; null when it can't be created.
using ShellAutomationFactory = std::function<std::unique_ptr<ShellAutomation>()>;

// The desktop's windows as a press sees them.
class PressWindows {
public:
    virtual ~PressWindows() = default;
    // Whether the window is minimised now.
    virtual bool IsMinimised(WindowId window) = 0;
    virtual WindowId ForegroundWindow() = 0;
    // Whether the window is the desktop itself.
    virtual bool IsDesktop(WindowId window) = 0;
    // The active tab of an Explorer frame; 0 for a frame without tabs.
    virtual WindowId ActiveTab(WindowId frame) = 0;
};

// Where the new folders go.
class FolderTargets {
public:
    virtual ~FolderTargets() = default;
    // Creates the new folder inside folder (a path) and moves items (paths) into it, with
    // owner the window the shell's dialogs belong to; the new folder's path, or nothing when
    // no folder was made (nothing is moved then).
    virtual std::optional<std::wstring> CreateInFolder(const std::wstring& folder,
                                                       const std::vector<std::wstring>& items,
                                                       WindowId owner) = 0;
    // The desktop's new folder; with the selection key, holding the desktop's selection.
    virtual void CreateOnDesktop(PressKind kind) = 0;
    // The window pressed in shows something that is no folder on disk (This PC, a search).
    virtual void ReportNoFolderOnDisk() {}
    // Puts the new folder at path into rename mode in view.
    virtual void StartRename(std::unique_ptr<RenameView>, const std::wstring&) {}
};

// One press. shell is null when the automation object couldn't be created.
void HandleHotKeyPress(ShellAutomation* shell, PressWindows& windows, FolderTargets& targets,
                       PressKind kind = PressKind::newFolder);

} // namespace nestora::app
