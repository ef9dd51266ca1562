// The folder targets of a press (hotkey_press.h) made real: a new folder in an Explorer
// window's folder, or on the desktop, then put into rename mode in the view that shows it.
//
// The name is the settings field's at the time of the press, checked at every creation
// (folder_name.h): a bad name gives way to the language's default name. The desktop is a
// seam (DesktopShell): where it is, telling the shell about the new folder, its selection
// and the rename.
//
// With the selection key the selected items are moved into the new folder by the shell's
// own file operation (ItemMover): its progress, conflict and "in use" dialogs, its undo.
// The program itself never deletes or overwrites anything: items the shell could not move
// stay where they were, the new folder stays, and a folder that could not be made gets
// nothing moved into it.
#pragma once

#include "app/folder_creation.h"
#include "app/hotkey_press.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nestora::app {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // The desktop's folder; empty when it can't be found.
    virtual std::wstring DesktopPath() = 0;
    // Tells the shell that the folder at path was created, so its views show it now.
    virtual void AnnounceNewFolder(const std::wstring& path) = 0;
    // Selects the folder at path alone in the desktop's view and puts it into rename mode,
    // at once or once the view shows it. False when the view can't be reached; nothing
    // else is done then (no key is sent blindly into whatever has the focus).
    virtual bool StartRename(const std::wstring& path) = 0;
    // The paths on disk of the items selected in the desktop's view; empty when nothing is
    // selected or the view can't be reached.
    virtual std::vector<std::wstring> SelectedPaths() { return {}; }
};

// The shell's file operation that moves items into a folder.
class ItemMover {
public:
    virtual ~ItemMover() = default;
    // Moves the items (paths) into the folder, with undo, the shell's dialogs owned by
    // owner (0: none). Items it could not move stay where they were.
    virtual void MoveInto(const std::vector<std::wstring>& items, const std::wstring& folder,
                          WindowId owner) = 0;
};

// Where the renames of new folders in Explorer windows go (folder_rename.h).
using RenameStarter =
    std::function<void(std::unique_ptr<RenameView> view, const std::wstring& path)>;

// What a press could not do, for the user to be told (empty functions: nothing is told).
struct FolderReports {
    // No folder was made in target: the system's error code (see kBadTargetError).
    std::function<void(const std::wstring& target, std::uint32_t error)> notMade;
    // The window pressed in shows no folder on disk.
    std::function<void()> noFolderOnDisk;
};

// The error told for a target that is no absolute path (the system's ERROR_BAD_PATHNAME).
inline constexpr std::uint32_t kBadTargetError = 161;

struct FolderNames {
    std::wstring name;        // the settings field's, unchecked
    std::wstring defaultName; // the current language's
};

class NewFolderTargets final : public FolderTargets {
public:
    NewFolderTargets(FolderFileSystem& fileSystem, DesktopShell& desktop, FolderNames names,
                     FolderReports reports = {})
        : fileSystem_(fileSystem), desktop_(desktop), names_(std::move(names)),
          reports_(std::move(reports)) {}

    // mover: what moves the selection (null: nothing is ever moved); renames: where the
    // Explorer windows' renames go (empty: they are not started).
    void SetSelectionMover(ItemMover* mover) { mover_ = mover; }
    void SetRenameStarter(RenameStarter renames) { renames_ = std::move(renames); }

    std::optional<std::wstring> CreateInFolder(const std::wstring& folder,
                                               const std::vector<std::wstring>& items,
                                               WindowId owner) override;
    void CreateOnDesktop(PressKind kind) override;
    void ReportNoFolderOnDisk() override;
    void StartRename(std::unique_ptr<RenameView> view, const std::wstring& path) override;

private:
    std::optional<std::wstring> Create(const std::wstring& target);
    void Move(const std::vector<std::wstring>& items, const std::wstring& folder, WindowId owner);

    FolderFileSystem& fileSystem_;
    DesktopShell& desktop_;
    FolderNames names_;
    FolderReports reports_;
    ItemMover* mover_ = nullptr;
    RenameStarter renames_;
};

} // namespace nestora::app
