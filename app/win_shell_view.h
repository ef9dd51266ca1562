// A shell view (IShellView) as a press uses it: the view of an Explorer window's active
// tab or of the desktop, reached through its top-level browser; the new folder put into
// rename mode there, and the items the user selected there.
//
// These calls cross into Explorer's process: each is one round trip, none is late-bound.
#pragma once

#include "app/hotkey_press.h"

#include <windows.h>

#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace nestora::app {

// The active view of the top-level browser that site (a shell window object) serves
// (IServiceProvider::QueryService with SID_STopLevelBrowser, then
// IShellBrowser::QueryActiveShellView); null when any step fails.
Microsoft::WRL::ComPtr<IShellView> ActiveShellViewOf(IUnknown& site);

// The item at path, a child of the view's folder, selected alone, focused, visible and in
// rename mode (SVSI_EDIT): parsed from the view's own folder (IFolderView::GetFolder), so
// the view knows it by its own item id. It is first selected without the edit and checked
// to be the view's focused item; notYet while the view doesn't list it.
RenameAttempt SelectInViewForRename(IShellView& view, const std::wstring& path);

// The paths on disk of the items selected in the view: IFolderView2::GetSelection, else the
// selection's data object (IShellView::GetItemObject with SVGIO_SELECTION). Items without
// a path on disk are left out; empty when nothing is selected.
std::vector<std::wstring> SelectedPathsInView(IShellView& view);

// The view as the press's seam (hotkey_press.h); null for a null view.
std::unique_ptr<ShellFolderView> ShellFolderViewOver(Microsoft::WRL::ComPtr<IShellView> view);

} // namespace nestora::app
