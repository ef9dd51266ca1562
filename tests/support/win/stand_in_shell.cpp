#include "tests/support/win/stand_in_shell.h"

#include "tests/support/win/owned_variant.h"

#include <servprov.h>
#include <shlguid.h>
#include <shobjidl.h>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::testing {

namespace {

// The reference count of a COM object over its interfaces; the last Release deletes it as
// what it is (Object), since the interfaces cannot.
template <class Object, class... Interfaces> class ComObject : public Interfaces... {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete static_cast<Object*>(this);
        return left;
    }

private:
    ULONG references_ = 1;
};

// A top-level browser that only tells its window.
class StandInBrowser final : public ComObject<StandInBrowser, IShellBrowser> {
public:
    explicit StandInBrowser(HWND window) : window_(window) {}

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
    HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override {
        return E_NOTIMPL;
    }

private:
    HWND window_;
};

class StandInObject final : public ComObject<StandInObject, IDispatch, IServiceProvider> {
public:
    StandInObject(std::shared_ptr<AutomationCalls> calls, AutomationMembers members,
                  HWND browserWindow)
        : calls_(std::move(calls)), members_(std::move(members)), browserWindow_(browserWindow) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
        } else if (iid == IID_IServiceProvider && browserWindow_) {
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
        auto* browser = new StandInBrowser(browserWindow_);
        const HRESULT status = browser->QueryInterface(iid, out);
        browser->Release();
        return status;
    }

private:
    std::shared_ptr<AutomationCalls> calls_;
    AutomationMembers members_;
    HWND browserWindow_;
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
                             window.tab);
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
