// Moving the selected items into the new folder (new_folder_targets.h) by the shell's own
// file operation, so that what the user sees is the shell's: its progress, its conflict and
// "file in use" dialogs owned by the Explorer window, and an undo record (Ctrl+Z in
// Explorer takes the items back).
//
// IFileOperation first (MoveItems, FOF_ALLOWUNDO with FOFX_ADDUNDORECORD where the system
// knows it); where the system has no file operation object, or it answers "not implemented"
// before moving anything, SHFileOperationW with FO_MOVE and FOF_ALLOWUNDO. Nothing is ever
// deleted or overwritten here: the destination is a folder made empty a moment ago, and an
// item the shell could not move stays where it was.
#pragma once

#include "app/new_folder_targets.h"

#include <windows.h>

#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace nestora::app {

// Which of the shell's operations a move went through.
enum class MoveRoute {
    none,          // nothing to move, or no item could be named to the shell
    fileOperation, // IFileOperation
    shFileOperation,
};

// Makes one file operation object; null where the system has none.
using FileOperationFactory = std::function<Microsoft::WRL::ComPtr<IFileOperation>()>;

// The system's file operation object (CLSID_FileOperation); null where it isn't registered.
Microsoft::WRL::ComPtr<IFileOperation> SystemFileOperation();

class ShellItemMover final : public ItemMover {
public:
    // fileOperations: where the file operation objects come from (tests hand in fakes, or
    // none, for the route of systems without one).
    explicit ShellItemMover(FileOperationFactory fileOperations = SystemFileOperation)
        : fileOperations_(std::move(fileOperations)) {}

    void MoveInto(const std::vector<std::wstring>& items, const std::wstring& folder,
                  WindowId owner) override;
    MoveRoute LastRoute() const { return lastRoute_; }

private:
    FileOperationFactory fileOperations_;
    MoveRoute lastRoute_ = MoveRoute::none;
};

} // namespace nestora::app
