#include "tests/support/win/stand_in_shell.h"

#include "tests/support/win/com_object.h"
#include "tests/support/win/owned_variant.h"

#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::testing {

namespace {

struct IdListDeleter {
    void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListDeleter>;

// The real folder's id list and shell folder.
struct RealFolder {
    IdList list;
    Microsoft::WRL::ComPtr<IShellFolder> folder;
};

RealFolder OpenRealFolder(const std::wstring& path) {
    RealFolder real;
    PIDLIST_ABSOLUTE raw = nullptr;
    if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)))
        return real;
    real.list.reset(raw);
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(&desktop)) ||
        FAILED(desktop->BindToObject(raw, nullptr, IID_PPV_ARGS(&real.folder))))
        real.folder.Reset();
    return real;
}

// A view of a real folder: its folder and selection are real, its window is none.
class StandInView final : public ComObject<StandInView, IShellView, IFolderView> {
public:
    explicit StandInView(std::shared_ptr<StandInViewState> state) : state_(std::move(state)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellView) {
            *out = static_cast<IShellView*>(this);
        } else if (iid == IID_IFolderView) {
            *out = static_cast<IFolderView*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    // IShellView.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UIActivate(UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Refresh() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*,
                                               RECT*, HWND*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE,
                                                    LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SaveViewState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD item, UINT flags) override {
        ++state_->selectTries;
        if (state_->selectTries < state_->listedAtTry)
            return E_FAIL; // not listed yet
        const RealFolder real = OpenRealFolder(state_->folder);
        if (!real.list || !item)
            return E_INVALIDARG;
        const IdList full(::ILCombine(real.list.get(), item));
        wchar_t path[MAX_PATH] = {};
        if (!full || !::SHGetPathFromIDListW(full.get(), path))
            return E_INVALIDARG;
        if ((flags & SVSI_EDIT) == SVSI_EDIT) // SVSI_EDIT holds SVSI_SELECT's bit
            state_->editedItems.push_back({path, flags});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItemObject(UINT which, REFIID iid, void** out) override {
        *out = nullptr;
        if ((which & SVGIO_TYPE_MASK) != SVGIO_SELECTION || iid != IID_IDataObject)
            return E_NOTIMPL;
        ++state_->selectionReads;
        if (state_->selected.empty())
            return E_FAIL;
        const RealFolder real = OpenRealFolder(state_->folder);
        if (!real.folder)
            return E_FAIL;
        std::vector<IdList> children;
        std::vector<PCUIDLIST_RELATIVE> pointers;
        for (std::wstring name : state_->selected) {
            PIDLIST_RELATIVE raw = nullptr;
            if (FAILED(real.folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &raw,
                                                     nullptr)))
                return E_FAIL;
            children.emplace_back(reinterpret_cast<ITEMIDLIST*>(raw));
            pointers.push_back(raw);
        }
        return ::CIDLData_CreateFromIDArray(real.list.get(), static_cast<UINT>(pointers.size()),
                                            pointers.data(), reinterpret_cast<IDataObject**>(out));
    }

    // IFolderView: only its folder is asked for.
    HRESULT STDMETHODCALLTYPE GetCurrentViewMode(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCurrentViewMode(UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** out) override {
        *out = nullptr;
        const RealFolder real = OpenRealFolder(state_->folder);
        return real.folder ? real.folder->QueryInterface(iid, out) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Item(int, PITEMID_CHILD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ItemCount(UINT, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Items(UINT, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionMarkedItem(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFocusedItem(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD, POINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetSpacing(POINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultSpacing(POINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAutoArrange() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectItem(int, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT, PCUITEMID_CHILD_ARRAY, POINT*,
                                                     DWORD) override {
        return E_NOTIMPL;
    }

private:
    std::shared_ptr<StandInViewState> state_;
};

// A top-level browser that tells its window and hands out its view.
class StandInBrowser final : public ComObject<StandInBrowser, IShellBrowser> {
public:
    StandInBrowser(HWND window, std::shared_ptr<StandInViewState> view)
        : window_(window), view_(std::move(view)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellBrowser) {
            *out = static_cast<IShellBrowser*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
        *view = nullptr;
        if (!view_)
            return E_NOTIMPL;
        *view = new StandInView(view_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override {
        return E_NOTIMPL;
    }

private:
    HWND window_;
    std::shared_ptr<StandInViewState> view_;
};

class StandInObject final : public ComObject<StandInObject, IDispatch, IServiceProvider> {
public:
    StandInObject(std::shared_ptr<AutomationCalls> calls, AutomationMembers members,
                  HWND browserWindow, std::shared_ptr<StandInViewState> view = nullptr)
        : calls_(std::move(calls)), members_(std::move(members)), browserWindow_(browserWindow),
          view_(std::move(view)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
        } else if (iid == IID_IServiceProvider && (browserWindow_ || view_)) {
            *out = static_cast<IServiceProvider*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ++calls_->nameLookups;
        if (count != 1)
            return E_INVALIDARG;
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (::lstrcmpiW(members_[i].first.c_str(), names[0]) == 0) {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (!parameters)
            return E_INVALIDARG;
        if (id < 1 || static_cast<std::size_t>(id) > members_.size())
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        const auto& member = members_[static_cast<std::size_t>(id - 1)];
        calls_->invoked.push_back(member.first);
        // A caller may leave no room for a result it does not want.
        OwnedVariant ignored;
        return member.second(*parameters, result ? result : &ignored);
    }
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
        if (service != SID_STopLevelBrowser) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        auto* browser = new StandInBrowser(browserWindow_, view_);
        const HRESULT status = browser->QueryInterface(iid, out);
        browser->Release();
        return status;
    }

private:
    std::shared_ptr<AutomationCalls> calls_;
    AutomationMembers members_;
    HWND browserWindow_;
    std::shared_ptr<StandInViewState> view_;
};

Microsoft::WRL::ComPtr<IDispatch> Adopt(StandInObject* object) {
    Microsoft::WRL::ComPtr<IDispatch> pointer;
    pointer.Attach(static_cast<IDispatch*>(object));
    return pointer;
}

IDispatch* WindowObject(const std::shared_ptr<AutomationCalls>& calls, const ShellWindow& window,
                        std::size_t index) {
    return new StandInObject(calls,
                             {{L"HWND",
                               [window](const DISPPARAMS&, VARIANT* result) {
                                   if (window.vanishes)
                                       return RPC_E_DISCONNECTED;
                                   result->vt = VT_I8;
                                   result->llVal = static_cast<LONGLONG>(window.frame);
                                   return S_OK;
                               }},
                              {L"LocationURL",
                               [window](const DISPPARAMS&, VARIANT* result) {
                                   result->vt = VT_BSTR;
                                   result->bstrVal = ::SysAllocStringLen(
                                       window.locationUrl.data(),
                                       static_cast<UINT>(window.locationUrl.size()));
                                   return result->bstrVal ? S_OK : E_OUTOFMEMORY;
                               }},
                              {L"Refresh",
                               [calls, window, index](const DISPPARAMS&, VARIANT*) {
                                   if (SUCCEEDED(window.refresh))
                                       calls->refreshed.push_back(index);
                                   return window.refresh;
                               }}},
                             window.tab, window.view);
}

} // namespace

Microsoft::WRL::ComPtr<IDispatch> MakeAutomationObject(std::shared_ptr<AutomationCalls> calls,
                                                       AutomationMembers members,
                                                       HWND browserWindow) {
    return Adopt(new StandInObject(std::move(calls), std::move(members), browserWindow));
}

Microsoft::WRL::ComPtr<IDispatch> MakeStandInShell(std::shared_ptr<AutomationCalls> calls,
                                                   std::vector<ShellWindow> windows,
                                                   long countOffset) {
    auto list = std::make_shared<const std::vector<ShellWindow>>(std::move(windows));
    const auto collection = MakeAutomationObject(
        calls, {{L"Count",
                 [list, countOffset](const DISPPARAMS&, VARIANT* result) {
                     result->vt = VT_I4;
                     result->lVal = static_cast<LONG>(list->size()) + countOffset;
                     return S_OK;
                 }},
                {L"Item", [calls, list](const DISPPARAMS& parameters, VARIANT* result) {
                     if (parameters.cArgs != 1 || parameters.rgvarg[0].vt != VT_I4)
                         return DISP_E_BADPARAMCOUNT;
                     const LONG index = parameters.rgvarg[0].lVal;
                     if (index < 0 || static_cast<std::size_t>(index) >= list->size())
                         return E_INVALIDARG;
                     result->vt = VT_DISPATCH;
                     const auto at = static_cast<std::size_t>(index);
                     result->pdispVal = WindowObject(calls, (*list)[at], at);
                     return S_OK;
                 }}});
    return MakeAutomationObject(calls,
                                {{L"Windows", [collection](const DISPPARAMS&, VARIANT* result) {
                                      result->vt = VT_DISPATCH;
                                      result->pdispVal = collection.Get();
                                      result->pdispVal->AddRef();
                                      return S_OK;
                                  }}});
}

std::vector<ShellWindow> MadeUpWindows(int n) {
    std::vector<ShellWindow> windows;
    for (int i = 0; i < n; ++i)
        windows.push_back({static_cast<std::uintptr_t>(0x10010 + 0x10 * i),
                           L"file:///C:/Folder" + std::to_wstring(i)});
    return windows;
}

} // namespace nestora::testing
