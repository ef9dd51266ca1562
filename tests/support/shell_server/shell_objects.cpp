#include "tests/support/shell_server/shell_objects.h"

#include "tests/support/win/com_object.h"

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>

#include <shlwapi.h>

#include <array>
#include <cwchar>
#include <string>
#include <utility>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::testing {

namespace {

using Microsoft::WRL::ComPtr;

template <class Object> ComPtr<Object> Adopt(Object* object) {
    ComPtr<Object> pointer;
    pointer.Attach(object);
    return pointer;
}

// Members answered by name. The derived object lists its names and answers the call of
// the one at an index; the lookups and the calls are recorded under its name.
template <class Object, class Interface, class... More>
class Automation : public ComObject<Object, Interface, More...> {
public:
    Automation(ShellServerState& state, std::wstring who) : state_(state), who_(std::move(who)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1)
            return E_INVALIDARG;
        Record(L"names", names[0]);
        const auto& known = static_cast<Object*>(this)->Names();
        for (std::size_t i = 0; i < known.size(); ++i) {
            if (::lstrcmpiW(known[i], names[0]) == 0) {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        const auto& known = static_cast<Object*>(this)->Names();
        if (id < 1 || static_cast<std::size_t>(id) > known.size())
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        const auto index = static_cast<std::size_t>(id - 1);
        std::wstring argument;
        if (parameters && parameters->cArgs == 1 && parameters->rgvarg[0].vt == VT_I4)
            argument = L" " + std::to_wstring(parameters->rgvarg[0].lVal);
        Record(L"invoke", known[index] + argument);
        VARIANT ignored;
        ::VariantInit(&ignored);
        const HRESULT status = static_cast<Object*>(this)->Call(
            index, parameters ? *parameters : DISPPARAMS{}, result ? result : &ignored);
        ::VariantClear(&ignored);
        return status;
    }

protected:
    void Record(const wchar_t* kind, const std::wstring& what) {
        state_.record.Line(std::wstring(kind) + L" " + who_ + L" " + what);
    }

    ShellServerState& state_;
    std::wstring who_;
};

// The view of a window as handed across: the system's own, with its selections recorded
// (the flags and the selected item's name). Other interfaces are the system view's.
class RecordingView final : public ComObject<RecordingView, IShellView> {
public:
    RecordingView(ShellServerState& state, std::wstring who, ComPtr<IShellView> inner)
        : state_(state), who_(std::move(who)), inner_(std::move(inner)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellView)
            return Hand(static_cast<IShellView*>(this), out);
        return inner_->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return inner_->GetWindow(window); }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
        return inner_->ContextSensitiveHelp(enter);
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override {
        return inner_->TranslateAccelerator(message);
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override {
        return inner_->EnableModeless(enable);
    }
    HRESULT STDMETHODCALLTYPE UIActivate(UINT state) override { return inner_->UIActivate(state); }
    HRESULT STDMETHODCALLTYPE Refresh() override { return inner_->Refresh(); }
    HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView* previous, LPCFOLDERSETTINGS settings,
                                               IShellBrowser* browser, RECT* place,
                                               HWND* window) override {
        return inner_->CreateViewWindow(previous, settings, browser, place, window);
    }
    HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return inner_->DestroyViewWindow(); }
    HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS settings) override {
        return inner_->GetCurrentInfo(settings);
    }
    HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD reserved, LPFNSVADDPROPSHEETPAGE add,
                                                    LPARAM data) override {
        return inner_->AddPropertySheetPages(reserved, add, data);
    }
    HRESULT STDMETHODCALLTYPE SaveViewState() override { return inner_->SaveViewState(); }
    HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD item, SVSIF flags) override {
        wchar_t text[16];
        std::swprintf(text, 16, L"0x%X", static_cast<unsigned>(flags));
        state_.record.Line(L"call " + who_ + L" SelectItem " + text + L" " + NameOf(item));
        return inner_->SelectItem(item, flags);
    }
    HRESULT STDMETHODCALLTYPE GetItemObject(UINT item, REFIID iid, void** out) override {
        const HRESULT result = inner_->GetItemObject(item, iid, out);
        wchar_t text[40];
        std::swprintf(text, 40, L"0x%X 0x%08lX", item, static_cast<unsigned long>(result));
        state_.record.Line(L"call " + who_ + L" GetItemObject " + text);
        return result;
    }

private:
    // The item's name in the view's folder, or "?" with the size of what arrived.
    std::wstring NameOf(PCUITEMID_CHILD item) {
        ComPtr<IFolderView> folderView;
        ComPtr<IShellFolder> folder;
        STRRET name{};
        wchar_t* text = nullptr;
        if (item && SUCCEEDED(inner_.As(&folderView)) &&
            SUCCEEDED(folderView->GetFolder(IID_PPV_ARGS(&folder))) &&
            SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) &&
            SUCCEEDED(::StrRetToStrW(&name, item, &text))) {
            std::wstring result(text);
            ::CoTaskMemFree(text);
            return result;
        }
        return L"? (" + std::to_wstring(item ? item->mkid.cb : 0) + L" bytes)";
    }

    ShellServerState& state_;
    std::wstring who_;
    ComPtr<IShellView> inner_;
};

// A window's top-level browser: the explorer browser's own, but telling the window of the
// tab (or of the frame) as its window, as Explorer's frame does.
class TopLevelBrowser final : public ComObject<TopLevelBrowser, IShellBrowser> {
public:
    TopLevelBrowser(ShellServerState& state, std::wstring who, ComPtr<IShellBrowser> inner,
                    HWND window)
        : state_(state), who_(std::move(who)), inner_(std::move(inner)), window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellBrowser)
            return Hand(static_cast<IShellBrowser*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        Record(L"GetWindow");
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
        return inner_->ContextSensitiveHelp(enter);
    }
    HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU menu, LPOLEMENUGROUPWIDTHS widths) override {
        return inner_->InsertMenusSB(menu, widths);
    }
    HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU menu, HOLEMENU shared, HWND active) override {
        return inner_->SetMenuSB(menu, shared, active);
    }
    HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU menu) override {
        return inner_->RemoveMenusSB(menu);
    }
    HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR text) override {
        return inner_->SetStatusTextSB(text);
    }
    HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL enable) override {
        return inner_->EnableModelessSB(enable);
    }
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG* message, WORD id) override {
        return inner_->TranslateAcceleratorSB(message, id);
    }
    HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE list, UINT flags) override {
        Record(L"BrowseObject");
        return inner_->BrowseObject(list, flags);
    }
    HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD mode, IStream** stream) override {
        return inner_->GetViewStateStream(mode, stream);
    }
    HRESULT STDMETHODCALLTYPE GetControlWindow(UINT id, HWND* window) override {
        return inner_->GetControlWindow(id, window);
    }
    HRESULT STDMETHODCALLTYPE SendControlMsg(UINT id, UINT message, WPARAM w, LPARAM l,
                                             LRESULT* result) override {
        return inner_->SendControlMsg(id, message, w, l, result);
    }
    HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
        Record(L"QueryActiveShellView");
        *view = nullptr;
        ComPtr<IShellView> inner;
        const HRESULT status = inner_->QueryActiveShellView(&inner);
        if (FAILED(status) || !inner)
            return FAILED(status) ? status : E_FAIL;
        *view = new RecordingView(state_, who_, std::move(inner));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView* view) override {
        return inner_->OnViewWindowActive(view);
    }
    HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB buttons, UINT count,
                                              UINT flags) override {
        return inner_->SetToolbarItems(buttons, count, flags);
    }

private:
    void Record(const wchar_t* method) { state_.record.Line(L"call " + who_ + L" " + method); }

    ShellServerState& state_;
    std::wstring who_;
    ComPtr<IShellBrowser> inner_;
    HWND window_;
};

// One window (or tab) of the collection: what `Item` hands out, new at every call.
class WindowItem final : public Automation<WindowItem, IDispatch, IServiceProvider> {
public:
    WindowItem(ShellServerState& state, std::wstring who, ExplorerWindow& window, std::size_t tab)
        : Automation(state, std::move(who)), window_(window), tab_(tab) {}

    const std::array<const wchar_t*, 3>& Names() const {
        static const std::array<const wchar_t*, 3> names = {L"HWND", L"LocationURL", L"Refresh"};
        return names;
    }

    HRESULT Call(std::size_t index, const DISPPARAMS&, VARIANT* result) {
        if (window_.Ended())
            return RPC_E_DISCONNECTED;
        switch (index) {
        case 0: // the frame's, for every tab of it
#ifdef _WIN64
            result->vt = VT_I8;
            result->llVal = reinterpret_cast<LONG_PTR>(window_.Frame());
#else
            result->vt = VT_I4;
            result->lVal = reinterpret_cast<LONG_PTR>(window_.Frame());
#endif
            return S_OK;
        case 1: {
            const std::wstring& url = window_.Tabs()[tab_].locationUrl;
            result->vt = VT_BSTR;
            result->bstrVal = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
            return result->bstrVal ? S_OK : E_OUTOFMEMORY;
        }
        default:
            window_.Refresh(tab_);
            return S_OK;
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            return Hand(static_cast<IDispatch*>(this), out);
        if (iid == IID_IServiceProvider)
            return Hand(static_cast<IServiceProvider*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
        Record(L"call", L"QueryService");
        *out = nullptr;
        if (service != SID_STopLevelBrowser || window_.Ended())
            return E_NOINTERFACE;
        const ExplorerTab& tab = window_.Tabs()[tab_];
        ComPtr<IShellBrowser> inner;
        if (!tab.browser || FAILED(tab.browser.As(&inner)))
            return E_NOINTERFACE;
        const auto browser = Adopt(new TopLevelBrowser(state_, who_, std::move(inner), tab.window));
        return browser->QueryInterface(iid, out);
    }

private:
    ExplorerWindow& window_;
    std::size_t tab_;
};

std::wstring WhoOf(std::size_t window, std::size_t tab, bool tabbed) {
    std::wstring who = L"w" + std::to_wstring(window);
    if (tabbed)
        who += L"t" + std::to_wstring(tab);
    return who;
}

// The shell's window collection: one item per tab, or per window without tabs, in the
// order the windows were opened.
class WindowCollection final : public Automation<WindowCollection, IShellWindows> {
public:
    explicit WindowCollection(ShellServerState& state) : Automation(state, L"windows") {}

    const std::array<const wchar_t*, 2>& Names() const {
        static const std::array<const wchar_t*, 2> names = {L"Count", L"Item"};
        return names;
    }

    HRESULT Call(std::size_t index, const DISPPARAMS& parameters, VARIANT* result) {
        if (index == 0) {
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(Slots().size());
            if (state_.endAfterCount) {
                // A window closed in the middle of the caller's scan.
                state_.windows[*state_.endAfterCount]->End();
                state_.endAfterCount.reset();
            }
            return S_OK;
        }
        if (parameters.cArgs != 1 || parameters.rgvarg[0].vt != VT_I4)
            return DISP_E_BADPARAMCOUNT;
        const auto slots = Slots();
        const LONG at = parameters.rgvarg[0].lVal;
        if (at < 0 || static_cast<std::size_t>(at) >= slots.size())
            return E_INVALIDARG;
        const auto [window, tab] = slots[static_cast<std::size_t>(at)];
        ExplorerWindow& explorer = *state_.windows[window];
        // A window gone since `Count` keeps its place; asking for it fails.
        if (explorer.Ended())
            return RPC_E_DISCONNECTED;
        result->vt = VT_DISPATCH;
        result->pdispVal =
            new WindowItem(state_, WhoOf(window, tab, explorer.Tabbed()), explorer, tab);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IShellWindows)
            return Hand(static_cast<IShellWindows*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
        Record(L"call", L"get_Count");
        *count = static_cast<LONG>(Slots().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT, IDispatch** folder) override {
        Record(L"call", L"Item");
        *folder = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** items) override {
        *items = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int windowClass, LONG* window,
                                           int options, IDispatch** found) override {
        Record(L"call", L"FindWindowSW");
        if (found)
            *found = nullptr;
        if (window)
            *window = 0;
        if (windowClass != SWC_DESKTOP || !state_.desktop || state_.desktop->Ended())
            return S_FALSE;
        if (window)
            *window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(state_.desktop->Frame()));
        if ((options & SWFO_NEEDDISPATCH) && found)
            *found = new WindowItem(state_, L"desktop", *state_.desktop, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

private:
    std::vector<std::pair<std::size_t, std::size_t>> Slots() const {
        std::vector<std::pair<std::size_t, std::size_t>> slots;
        for (std::size_t w = 0; w < state_.windows.size(); ++w) {
            for (std::size_t t = 0; t < state_.windows[w]->Tabs().size(); ++t)
                slots.emplace_back(w, t);
        }
        return slots;
    }
};

// "Shell.Application": only its `Windows`, the one collection.
class ShellApplication final : public Automation<ShellApplication, IDispatch> {
public:
    ShellApplication(ShellServerState& state, ComPtr<IShellWindows> windows)
        : Automation(state, L"shell"), windows_(std::move(windows)) {}

    const std::array<const wchar_t*, 1>& Names() const {
        static const std::array<const wchar_t*, 1> names = {L"Windows"};
        return names;
    }

    HRESULT Call(std::size_t, const DISPPARAMS&, VARIANT* result) {
        result->vt = VT_DISPATCH;
        result->pdispVal = windows_.Get();
        result->pdispVal->AddRef();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            return Hand(static_cast<IDispatch*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }

private:
    ComPtr<IShellWindows> windows_;
};

// Hands out one object to every caller.
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(ComPtr<IUnknown> object) : object_(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory)
            return Hand(static_cast<IClassFactory*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return object_->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ComPtr<IUnknown> object_;
};

ComPtr<IShellWindows> TheCollection(ShellServerState& state) {
    static ComPtr<IShellWindows> collection;
    if (!collection)
        collection.Attach(new WindowCollection(state));
    return collection;
}

} // namespace

ComPtr<IClassFactory> ShellApplicationFactory(ShellServerState& state) {
    ComPtr<IUnknown> shell;
    shell.Attach(static_cast<IDispatch*>(new ShellApplication(state, TheCollection(state))));
    return Adopt(new ClassFactory(std::move(shell)));
}

ComPtr<IClassFactory> ShellWindowsFactory(ShellServerState& state) {
    ComPtr<IUnknown> windows;
    TheCollection(state).As(&windows);
    return Adopt(new ClassFactory(std::move(windows)));
}

} // namespace nestora::testing
