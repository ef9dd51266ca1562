#include "app/win_item_mover.h"

#include "app/shell_ids.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>

using Microsoft::WRL::ComPtr;

namespace nestora::app {

namespace {

struct IdListDeleter {
    void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};
using AbsoluteIdList = std::unique_ptr<ITEMIDLIST, IdListDeleter>;

std::wstring LeafName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

HWND WindowFrom(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

enum class FileOperationResult {
    done,        // the shell did the move (or the user cancelled it in its dialogs)
    unavailable, // no file operation object, or it can't move: nothing was touched
};

FileOperationResult MoveWithFileOperation(IFileOperation* operation,
                                          const std::vector<std::wstring>& items,
                                          const std::wstring& folder, HWND owner) {
    if (!operation)
        return FileOperationResult::unavailable;
    // The undo record flag is Windows 8's; older systems refuse flags they don't know.
    if (FAILED(operation->SetOperationFlags(FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR |
                                            FOFX_ADDUNDORECORD)) &&
        FAILED(operation->SetOperationFlags(FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR)))
        return FileOperationResult::unavailable;
    if (owner)
        operation->SetOwnerWindow(owner);

    ComPtr<IShellItem> destination;
    if (FAILED(::SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&destination))))
        return FileOperationResult::unavailable;
    std::vector<AbsoluteIdList> lists;
    std::vector<PCIDLIST_ABSOLUTE> pointers;
    for (const std::wstring& path : items) {
        PIDLIST_ABSOLUTE raw = nullptr;
        if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)) || !raw)
            continue; // gone meanwhile: nothing to move
        lists.emplace_back(raw);
        pointers.push_back(raw);
    }
    if (pointers.empty())
        return FileOperationResult::done;
    ComPtr<IShellItemArray> sources;
    if (FAILED(::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(pointers.size()),
                                                   pointers.data(), &sources)))
        return FileOperationResult::unavailable;
    if (operation->MoveItems(sources.Get(), destination.Get()) == E_NOTIMPL)
        return FileOperationResult::unavailable;
    // Any other outcome is the shell's to tell: it has shown its own dialogs, and what it
    // could not move stays where it was. Trying again by another way would move items the
    // user chose to skip or cancelled.
    if (operation->PerformOperations() == E_NOTIMPL)
        return FileOperationResult::unavailable;
    return FileOperationResult::done;
}

void MoveWithShFileOperation(const std::vector<std::wstring>& items, const std::wstring& folder,
                             HWND owner) {
    // Each source names its own destination inside the folder (FOF_MULTIDESTFILES): some
    // shells refuse several files moved into one destination folder. Both lists end with
    // two nulls; each name ends with one.
    std::wstring from;
    std::wstring to;
    for (const std::wstring& path : items) {
        from += path;
        from.push_back(L'\0');
        to += folder;
        to.push_back(L'\\');
        to += LeafName(path);
        to.push_back(L'\0');
    }
    from.push_back(L'\0');
    to.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_MOVE;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_MULTIDESTFILES;
    ::SHFileOperationW(&operation);
}

} // namespace

ComPtr<IFileOperation> SystemFileOperation() {
    ComPtr<IFileOperation> operation;
    if (FAILED(
            ::CoCreateInstance(kFileOperationClass, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation))))
        return nullptr;
    return operation;
}

void ShellItemMover::MoveInto(const std::vector<std::wstring>& items, const std::wstring& folder,
                              WindowId owner) {
    lastRoute_ = MoveRoute::none;
    if (items.empty())
        return;
    const HWND ownerWindow = WindowFrom(owner);
    const ComPtr<IFileOperation> operation =
        fileOperations_ ? fileOperations_() : ComPtr<IFileOperation>();
    if (MoveWithFileOperation(operation.Get(), items, folder, ownerWindow) ==
        FileOperationResult::done) {
        lastRoute_ = MoveRoute::fileOperation;
        return;
    }
    lastRoute_ = MoveRoute::shFileOperation;
    MoveWithShFileOperation(items, folder, ownerWindow);
}

} // namespace nestora::app
