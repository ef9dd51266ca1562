#include "tests/support/shell_server/explorer_windows.h"

#include <commctrl.h>
#include <shlobj.h>

#include <memory>

namespace nestora::testing {

namespace {

constexpr wchar_t kTabClass[] = L"ShellTabWindowClass";

void RegisterWindowClass(const wchar_t* name) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass); // a second registration fails harmlessly
}

struct IdListDeleter {
    void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};

// The explorer browser inside parent, showing folder.
ExplorerTab ShowFolder(HWND parent, const std::wstring& folder) {
    ExplorerTab tab;
    tab.window = parent;
    RECT client{};
    ::GetClientRect(parent, &client);
    if (FAILED(::CoCreateInstance(CLSID_ExplorerBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&tab.browser))))
        return tab;
    FOLDERSETTINGS settings{FVM_LIST, 0};
    if (FAILED(tab.browser->Initialize(parent, &client, &settings))) {
        tab.browser.Reset();
        return tab;
    }
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(::SHParseDisplayName(folder.c_str(), nullptr, &raw, 0, nullptr)))
        return tab;
    const std::unique_ptr<ITEMIDLIST, IdListDeleter> list(raw);
    tab.browser->BrowseToIDList(list.get(), SBSP_ABSOLUTE);
    tab.locationUrl = LocationUrlOf(list.get());
    return tab;
}

// Selects the named items of the tab's folder in its view, in the view's own process (an
// item id list handed to a view in another process arrives without its bytes under Wine).
void SelectInView(const ExplorerTab& tab, const std::vector<std::wstring>& names) {
    Microsoft::WRL::ComPtr<IShellView> view;
    Microsoft::WRL::ComPtr<IFolderView> folderView;
    Microsoft::WRL::ComPtr<IShellFolder> folder;
    if (names.empty() || !tab.browser || FAILED(tab.browser->GetCurrentView(IID_PPV_ARGS(&view))) ||
        FAILED(view.As(&folderView)) || FAILED(folderView->GetFolder(IID_PPV_ARGS(&folder))))
        return;
    UINT flags = SVSI_SELECT | SVSI_DESELECTOTHERS | SVSI_FOCUSED;
    for (std::wstring name : names) {
        PIDLIST_RELATIVE raw = nullptr;
        if (FAILED(folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &raw, nullptr)))
            continue;
        const std::unique_ptr<ITEMIDLIST, IdListDeleter> item(raw);
        view->SelectItem(reinterpret_cast<PCUITEMID_CHILD>(item.get()), flags);
        flags = SVSI_SELECT;
    }
}

} // namespace

std::wstring LocationUrlOf(PCIDLIST_ABSOLUTE folder) {
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(folder, path) || !path[0])
        return {};
    std::wstring url = L"file:///";
    for (const wchar_t* c = path; *c; ++c) {
        if (*c == L'\\')
            url += L'/';
        else if (*c == L' ')
            url += L"%20";
        else
            url += *c;
    }
    return url;
}

ExplorerWindow::ExplorerWindow(const ServerWindowOptions& options, const wchar_t* className,
                               RECT place)
    : tabbed_(options.tabbed), activeTab_(options.activeTab) {
    RegisterWindowClass(className);
    RegisterWindowClass(kTabClass);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const bool desktop = ::lstrcmpW(className, L"Progman") == 0;
    frame_ = ::CreateWindowExW(0, className, desktop ? L"Program Manager" : L"Explorer",
                               desktop ? WS_POPUP : WS_OVERLAPPEDWINDOW, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                               instance, nullptr);
    if (!frame_)
        return;
    RECT client{};
    ::GetClientRect(frame_, &client);
    for (std::size_t i = 0; i < options.folders.size(); ++i) {
        HWND parent = frame_;
        if (tabbed_) {
            parent =
                ::CreateWindowExW(0, kTabClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, client.right,
                                  client.bottom, frame_, nullptr, instance, nullptr);
        }
        tabs_.push_back(ShowFolder(parent, options.folders[i]));
    }
    if (tabbed_ && options.activeTab < tabs_.size()) {
        // The active tab is the one shown, and the first of its class among the frame's
        // children: where a tab is looked for.
        const HWND active = tabs_[options.activeTab].window;
        ::SetWindowPos(active, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    ::ShowWindow(frame_, options.minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    if (activeTab_ < tabs_.size())
        SelectInView(tabs_[activeTab_], options.selected);
}

ExplorerWindow::~ExplorerWindow() {
    End();
}

void ExplorerWindow::End() {
    if (!frame_)
        return;
    for (ExplorerTab& tab : tabs_) {
        if (tab.browser)
            tab.browser->Destroy();
        tab.browser.Reset();
    }
    ::DestroyWindow(frame_);
    frame_ = nullptr;
}

void ExplorerWindow::Refresh(std::size_t tab) {
    if (tab >= tabs_.size() || !tabs_[tab].browser)
        return;
    Microsoft::WRL::ComPtr<IShellView> view;
    if (SUCCEEDED(tabs_[tab].browser->GetCurrentView(IID_PPV_ARGS(&view))))
        view->Refresh();
}

void ExplorerWindow::FocusView() {
    Microsoft::WRL::ComPtr<IShellView> view;
    HWND window = nullptr;
    if (activeTab_ >= tabs_.size() || !tabs_[activeTab_].browser ||
        FAILED(tabs_[activeTab_].browser->GetCurrentView(IID_PPV_ARGS(&view))) ||
        FAILED(view->GetWindow(&window)))
        return;
    view->UIActivate(SVUIA_ACTIVATE_FOCUS);
    if (const HWND list = ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr))
        ::SetFocus(list);
}

int ExplorerWindow::SelectedCount() const {
    // Counted on the view's list itself: Wine's IFolderView::ItemCount answers every item
    // whatever it is asked for.
    Microsoft::WRL::ComPtr<IShellView> view;
    HWND window = nullptr;
    if (activeTab_ >= tabs_.size() || !tabs_[activeTab_].browser ||
        FAILED(tabs_[activeTab_].browser->GetCurrentView(IID_PPV_ARGS(&view))) ||
        FAILED(view->GetWindow(&window)))
        return -1;
    const HWND list = ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    return list ? static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)) : -1;
}

} // namespace nestora::testing
