#include "app/win_shell_automation.h"
#include "app/win_shell_view.h"
#include "app/win_system_error.h"

#include "app/shell_ids.h"

#include "gui/core/exceptions.h"
#include "gui/core/text.h"

#include <windows.h>

#include <oleauto.h>
#include <servprov.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <array>
#include <cwchar>
#include <utility>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace nestora::app {

namespace {

// A VARIANT that is cleared when it goes.
class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

private:
    VARIANT value_;
};

// The strings an object fills into EXCEPINFO, freed when it goes.
class ExceptionInfo {
public:
    ExceptionInfo() = default;
    ~ExceptionInfo() {
        ::SysFreeString(info_.bstrSource);
        ::SysFreeString(info_.bstrDescription);
        ::SysFreeString(info_.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    EXCEPINFO* get() { return &info_; }
    std::wstring Description() const {
        return info_.bstrDescription
                   ? std::wstring(info_.bstrDescription, ::SysStringLen(info_.bstrDescription))
                   : std::wstring();
    }
    HRESULT Code() const { return info_.scode; }

private:
    EXCEPINFO info_{};
};

struct CallResult {
    HRESULT status = E_FAIL;
    std::wstring description; // the object's own words for a failure, if any
};

// One late-bound call: the member named name, called as a method or read as a property,
// with at most one integer argument.
CallResult InvokeByName(IDispatch& object, const wchar_t* name, Variant& result,
                        const VARIANT* argument = nullptr) {
    std::wstring nameBuffer(name); // GetIDsOfNames takes a non-const string
    LPOLESTR names[] = {nameBuffer.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT status = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(status))
        return {status, {}};
    VARIANT argumentCopy = argument ? *argument : VARIANT{};
    DISPPARAMS parameters{argument ? &argumentCopy : nullptr, nullptr, argument ? 1u : 0u, 0};
    ExceptionInfo exception;
    UINT badArgument = 0;
    status =
        object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                      &parameters, result.get(), exception.get(), &badArgument);
    if (status == DISP_E_EXCEPTION)
        return {FAILED(exception.Code()) ? exception.Code() : status, exception.Description()};
    return {status, {}};
}

// An integer result of any width as a window handle's low 32 bits.
std::optional<WindowId> WindowIdFrom(const VARIANT& value) {
    switch (value.vt) {
    case VT_I4:
        return static_cast<WindowId>(value.lVal);
    case VT_UI4:
        return static_cast<WindowId>(value.ulVal);
    case VT_INT:
        return static_cast<WindowId>(value.intVal);
    case VT_UINT:
        return static_cast<WindowId>(value.uintVal);
    case VT_I8:
        return static_cast<WindowId>(value.llVal);
    case VT_UI8:
        return static_cast<WindowId>(value.ullVal);
    case VT_I2:
        return static_cast<WindowId>(value.iVal);
    default:
        return std::nullopt;
    }
}

class DispatchItem final : public ShellWindowItem {
public:
    explicit DispatchItem(ComPtr<IDispatch> window) : window_(std::move(window)) {}

    std::optional<WindowId> FrameWindow() override {
        Variant result;
        if (FAILED(InvokeByName(*window_.Get(), L"HWND", result).status))
            return std::nullopt;
        return WindowIdFrom(*result);
    }

    std::optional<std::wstring> LocationUrl() override {
        Variant result;
        if (FAILED(InvokeByName(*window_.Get(), L"LocationURL", result).status))
            return std::nullopt;
        if ((*result).vt == VT_EMPTY)
            return std::wstring();
        if ((*result).vt != VT_BSTR) {
            Variant text;
            if (FAILED(::VariantChangeType(text.get(), result.get(), 0, VT_BSTR)))
                return std::nullopt;
            return std::wstring((*text).bstrVal, ::SysStringLen((*text).bstrVal));
        }
        return std::wstring((*result).bstrVal, ::SysStringLen((*result).bstrVal));
    }

    void Refresh() override {
        Variant result;
        const CallResult call = InvokeByName(*window_.Get(), L"Refresh", result);
        if (FAILED(call.status))
            throw gui::Exception(AutomationErrorText(L"Refresh", call.status, call.description));
    }

    std::optional<WindowId> BrowserWindow() override {
        ComPtr<IServiceProvider> services;
        if (FAILED(window_.As(&services)))
            return std::nullopt;
        ComPtr<IShellBrowser> browser;
        if (FAILED(services->QueryService(kTopLevelBrowserService, IID_PPV_ARGS(&browser))) ||
            !browser)
            return std::nullopt;
        HWND window = nullptr;
        if (FAILED(browser->GetWindow(&window)) || !window)
            return std::nullopt;
        return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
    }

    std::unique_ptr<ShellFolderView> ActiveView() override {
        return ShellFolderViewOver(ActiveShellViewOf(*window_.Get()));
    }

private:
    ComPtr<IDispatch> window_;
};

class DispatchCollection final : public ShellWindowCollection {
public:
    explicit DispatchCollection(ComPtr<IDispatch> collection)
        : collection_(std::move(collection)) {}

    std::optional<long> Count() override {
        Variant result;
        if (FAILED(InvokeByName(*collection_.Get(), L"Count", result).status))
            return std::nullopt;
        Variant number;
        if (FAILED(::VariantChangeType(number.get(), result.get(), 0, VT_I4)))
            return std::nullopt;
        return (*number).lVal;
    }

    std::unique_ptr<ShellWindowItem> Item(long index) override {
        VARIANT argument{};
        argument.vt = VT_I4;
        argument.lVal = index;
        Variant result;
        if (FAILED(InvokeByName(*collection_.Get(), L"Item", result, &argument).status))
            return nullptr;
        // An index past the end (a window closed since Count) gives no object at all.
        if ((*result).vt != VT_DISPATCH || !(*result).pdispVal)
            return nullptr;
        return std::make_unique<DispatchItem>(ComPtr<IDispatch>((*result).pdispVal));
    }

private:
    ComPtr<IDispatch> collection_;
};

class DispatchShell final : public ShellAutomation {
public:
    explicit DispatchShell(ComPtr<IDispatch> shell) : shell_(std::move(shell)) {}

    std::unique_ptr<ShellWindowCollection> Windows() override {
        Variant result;
        if (FAILED(InvokeByName(*shell_.Get(), L"Windows", result).status))
            return nullptr;
        if ((*result).vt != VT_DISPATCH || !(*result).pdispVal)
            return nullptr;
        return std::make_unique<DispatchCollection>(ComPtr<IDispatch>((*result).pdispVal));
    }

private:
    ComPtr<IDispatch> shell_;
};

} // namespace

std::wstring AutomationErrorText(const std::wstring& name, long hresult,
                                 const std::wstring& description) {
    if (!description.empty())
        return description;
    if (hresult == DISP_E_UNKNOWNNAME || hresult == DISP_E_MEMBERNOTFOUND)
        return gui::FormatText(L"Method '%s' not supported by automation object", {name});
    std::wstring text = SystemMessageText(static_cast<std::uint32_t>(hresult), 0);
    if (!text.empty())
        return text;
    return L"OLE error " + gui::HexDigits(static_cast<std::uint32_t>(hresult), 8);
}

std::unique_ptr<ShellAutomation> ShellAutomationOver(ComPtr<IDispatch> shell) {
    if (!shell)
        return nullptr;
    return std::make_unique<DispatchShell>(std::move(shell));
}

std::unique_ptr<ShellAutomation> CreateShellApplication() {
    CLSID shellClass{};
    if (FAILED(::CLSIDFromProgID(L"Shell.Application", &shellClass)))
        return nullptr;
    ComPtr<IDispatch> shell;
    if (FAILED(::CoCreateInstance(shellClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_PPV_ARGS(&shell))))
        return nullptr;
    return ShellAutomationOver(std::move(shell));
}

} // namespace nestora::app
