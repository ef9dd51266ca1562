#include "app/win_shell_view.h"

#include "app/shell_ids.h"

#include <servprov.h>
#include <shlobj.h>

using Microsoft::WRL::ComPtr;

namespace nestora::app {

namespace {

struct CoTaskMemDeleter {
    void operator()(void* memory) const noexcept { ::CoTaskMemFree(memory); }
};
using ItemIdList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;
using CoTaskText = std::unique_ptr<wchar_t, CoTaskMemDeleter>;

std::wstring LeafName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Whether the view's focused item is item. Some views (Wine's) answer SelectItem with S_OK
// for an item they don't list yet; the item a successful SelectItem focused tells. A view
// that can't tell is taken at its word.
bool FocusedItemIs(IFolderView& view, IShellFolder& folder, const ITEMIDLIST* item) {
    int index = -1;
    const HRESULT focused = view.GetFocusedItem(&index);
    if (focused == E_NOTIMPL)
        return true;
    if (focused != S_OK || index < 0)
        return false;
    PITEMID_CHILD raw = nullptr;
    const HRESULT found = view.Item(index, &raw);
    const ItemIdList focusedItem(raw);
    if (found == E_NOTIMPL)
        return true;
    if (FAILED(found) || !focusedItem)
        return false;
    const HRESULT compared = folder.CompareIDs(0, focusedItem.get(), item);
    return SUCCEEDED(compared) && static_cast<short>(HRESULT_CODE(compared)) == 0;
}

ComPtr<IShellItemArray> SelectionOf(IShellView& view) {
    ComPtr<IShellItemArray> items;
    ComPtr<IFolderView2> folderView;
    if (SUCCEEDED(view.QueryInterface(IID_PPV_ARGS(&folderView))) &&
        SUCCEEDED(folderView->GetSelection(FALSE, &items)) && items)
        return items;
    items.Reset();
    // Views older than IFolderView2, or whose GetSelection is missing, still hand out the
    // selection as the data object a drag would carry.
    ComPtr<IDataObject> data;
    if (FAILED(view.GetItemObject(SVGIO_SELECTION, IID_PPV_ARGS(&data))) || !data)
        return nullptr;
    if (FAILED(::SHCreateShellItemArrayFromDataObject(data.Get(), IID_PPV_ARGS(&items))))
        return nullptr;
    return items;
}

class SystemShellFolderView final : public ShellFolderView {
public:
    explicit SystemShellFolderView(ComPtr<IShellView> view) : view_(std::move(view)) {}
    RenameAttempt TrySelectForRename(const std::wstring& path) override {
        return SelectInViewForRename(*view_.Get(), path);
    }
    std::vector<std::wstring> SelectedPaths() override { return SelectedPathsInView(*view_.Get()); }

private:
    ComPtr<IShellView> view_;
};

} // namespace

ComPtr<IShellView> ActiveShellViewOf(IUnknown& site) {
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    if (FAILED(site.QueryInterface(IID_PPV_ARGS(&services))) || !services ||
        FAILED(services->QueryService(kTopLevelBrowserService, IID_PPV_ARGS(&browser))) ||
        !browser || FAILED(browser->QueryActiveShellView(&view)))
        return nullptr;
    return view;
}

RenameAttempt SelectInViewForRename(IShellView& view, const std::wstring& path) {
    ComPtr<IFolderView> folderView;
    ComPtr<IShellFolder> folder;
    if (FAILED(view.QueryInterface(IID_PPV_ARGS(&folderView))) ||
        FAILED(folderView->GetFolder(IID_PPV_ARGS(&folder))) || !folder)
        return RenameAttempt::noView;
    // The view's folder knows its own items by their names.
    std::wstring name = LeafName(path);
    PIDLIST_RELATIVE raw = nullptr;
    // Explorer's folder lives in Explorer's process: Wine's marshalling refuses null for the
    // characters eaten and the attributes there (Windows takes null), so both are given.
    ULONG eaten = 0;
    ULONG attributes = 0; // none asked for
    const HRESULT parsed =
        folder->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, &raw, &attributes);
    const ItemIdList item(raw);
    if (FAILED(parsed) || !item)
        return RenameAttempt::notYet;
    const auto child = reinterpret_cast<PCUITEMID_CHILD>(item.get());
    constexpr UINT kSelectAlone =
        SVSI_SELECT | SVSI_DESELECTOTHERS | SVSI_ENSUREVISIBLE | SVSI_FOCUSED;
    if (FAILED(view.SelectItem(child, kSelectAlone)) ||
        !FocusedItemIs(*folderView.Get(), *folder.Get(), item.get()))
        return RenameAttempt::notYet;
    // Listed, selected alone and focused: its name is opened for editing now, once, so an
    // edit the user has begun is never started over by a retry.
    return SUCCEEDED(view.SelectItem(child, kSelectAlone | SVSI_EDIT)) ? RenameAttempt::done
                                                                       : RenameAttempt::notYet;
}

std::vector<std::wstring> SelectedPathsInView(IShellView& view) {
    const ComPtr<IShellItemArray> items = SelectionOf(view);
    std::vector<std::wstring> paths;
    DWORD count = 0;
    if (!items || FAILED(items->GetCount(&count)))
        return paths;
    for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        PWSTR raw = nullptr;
        if (FAILED(items->GetItemAt(i, &item)) || !item)
            continue;
        const HRESULT named = item->GetDisplayName(SIGDN_FILESYSPATH, &raw);
        const CoTaskText path(raw);
        if (SUCCEEDED(named) && path && *path.get())
            paths.emplace_back(path.get());
    }
    return paths;
}

std::unique_ptr<ShellFolderView> ShellFolderViewOver(ComPtr<IShellView> view) {
    if (!view)
        return nullptr;
    return std::make_unique<SystemShellFolderView>(std::move(view));
}

} // namespace nestora::app
