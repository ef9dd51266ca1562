#include "bench/fake_shell.h"

#include <cstdint>
#include <functional>
#include <utility>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::bench {

namespace {

using Member = std::function<HRESULT(const DISPPARAMS& parameters, VARIANT* result)>;

class FakeObject final : public IDispatch {
public:
    FakeObject(std::shared_ptr<LateBoundCalls> calls,
               std::vector<std::pair<std::wstring, Member>> members)
        : calls_(std::move(calls)), members_(std::move(members)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
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
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        ++calls_->invokes;
        if (!parameters)
            return E_INVALIDARG;
        if (id < 1 || static_cast<std::size_t>(id) > members_.size())
            return DISP_E_MEMBERNOTFOUND;
        VARIANT ignored;
        ::VariantInit(&ignored);
        const HRESULT status = members_[static_cast<std::size_t>(id - 1)].second(
            *parameters, result ? result : &ignored);
        ::VariantClear(&ignored);
        return status;
    }

private:
    std::shared_ptr<LateBoundCalls> calls_;
    std::vector<std::pair<std::wstring, Member>> members_;
    ULONG references_ = 1;
};

IDispatch* windowObject(const std::shared_ptr<LateBoundCalls>& calls,
                        const FakeFolderWindow& window) {
    return new FakeObject(
        calls, {{L"HWND",
                 [window](const DISPPARAMS&, VARIANT* result) {
                     result->vt = VT_I8;
                     result->llVal =
                         static_cast<LONGLONG>(reinterpret_cast<std::uintptr_t>(window.frame));
                     return S_OK;
                 }},
                {L"LocationURL",
                 [window](const DISPPARAMS&, VARIANT* result) {
                     result->vt = VT_BSTR;
                     result->bstrVal = ::SysAllocStringLen(
                         window.locationUrl.data(), static_cast<UINT>(window.locationUrl.size()));
                     return result->bstrVal ? S_OK : E_OUTOFMEMORY;
                 }},
                {L"Refresh", [calls](const DISPPARAMS&, VARIANT*) {
                     ++calls->refreshes;
                     return S_OK;
                 }}});
}

} // namespace

Microsoft::WRL::ComPtr<IDispatch> makeFakeShell(std::shared_ptr<LateBoundCalls> calls,
                                                std::vector<FakeFolderWindow> windows) {
    auto list = std::make_shared<std::vector<FakeFolderWindow>>(std::move(windows));
    Microsoft::WRL::ComPtr<IDispatch> collection;
    collection.Attach(new FakeObject(
        calls, {{L"Count",
                 [list](const DISPPARAMS&, VARIANT* result) {
                     result->vt = VT_I4;
                     result->lVal = static_cast<LONG>(list->size());
                     return S_OK;
                 }},
                {L"Item", [calls, list](const DISPPARAMS& parameters, VARIANT* result) {
                     if (parameters.cArgs != 1)
                         return DISP_E_BADPARAMCOUNT;
                     VARIANT index;
                     ::VariantInit(&index);
                     if (FAILED(::VariantChangeType(&index, &parameters.rgvarg[0], 0, VT_I4)))
                         return DISP_E_TYPEMISMATCH;
                     if (index.lVal < 0 || static_cast<std::size_t>(index.lVal) >= list->size())
                         return E_INVALIDARG;
                     result->vt = VT_DISPATCH;
                     result->pdispVal =
                         windowObject(calls, (*list)[static_cast<std::size_t>(index.lVal)]);
                     return S_OK;
                 }}}));
    Microsoft::WRL::ComPtr<IDispatch> shell;
    shell.Attach(
        new FakeObject(calls, {{L"Windows", [collection](const DISPPARAMS&, VARIANT* result) {
                                    result->vt = VT_DISPATCH;
                                    result->pdispVal = collection.Get();
                                    result->pdispVal->AddRef();
                                    return S_OK;
                                }}}));
    return shell;
}

std::vector<FakeFolderWindow> madeUpWindows(int n) {
    std::vector<FakeFolderWindow> windows;
    for (int i = 0; i < n; ++i) {
        windows.push_back({reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010 + 0x10 * i)),
                           L"file:///C:/Folder" + std::to_wstring(i)});
    }
    return windows;
}

} // namespace nestora::bench
