#include "bench/naive_press.h"

#include "tests/support/win/owned_variant.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <wrl/client.h>

namespace nestora::bench {

namespace {

using Variant = testing::OwnedVariant;

// One late-bound call by name, with at most one integer argument.
void Call(IDispatch& object, const wchar_t* name, Variant& result, const long* argument = nullptr) {
    std::wstring nameBuffer(name);
    LPOLESTR names[] = {nameBuffer.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        throw std::runtime_error("unknown automation name");
    VARIANT argumentValue;
    ::VariantInit(&argumentValue);
    DISPPARAMS parameters{};
    if (argument) {
        argumentValue.vt = VT_I4;
        argumentValue.lVal = *argument;
        parameters.rgvarg = &argumentValue;
        parameters.cArgs = 1;
    }
    if (FAILED(object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                             DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters, &result, nullptr,
                             nullptr)))
        throw std::runtime_error("late-bound call failed");
}

Microsoft::WRL::ComPtr<IDispatch> DispatchOf(const Variant& value) {
    if (value.vt != VT_DISPATCH || !value.pdispVal)
        throw std::runtime_error("not an object");
    return Microsoft::WRL::ComPtr<IDispatch>(value.pdispVal);
}

// The collection, fetched anew as the old design did at every use.
Microsoft::WRL::ComPtr<IDispatch> WindowsOf(IDispatch& shell) {
    Variant windows;
    Call(shell, L"Windows", windows);
    return DispatchOf(windows);
}

long CountOf(IDispatch& shell) {
    Variant count;
    Call(*WindowsOf(shell).Get(), L"Count", count);
    Variant asLong;
    if (FAILED(::VariantChangeType(&asLong, &count, 0, VT_I4)))
        throw std::runtime_error("Count is not a number");
    return asLong.lVal;
}

Microsoft::WRL::ComPtr<IDispatch> ItemOf(IDispatch& shell, long index) {
    Variant item;
    Call(*WindowsOf(shell).Get(), L"Item", item, &index);
    return DispatchOf(item);
}

std::uint32_t HandleOf(IDispatch& window) {
    Variant handle;
    Call(window, L"HWND", handle);
    Variant asNumber;
    if (FAILED(::VariantChangeType(&asNumber, &handle, 0, VT_I8)))
        throw std::runtime_error("HWND is not a number");
    return static_cast<std::uint32_t>(asNumber.llVal);
}

std::wstring LocationOf(IDispatch& window) {
    Variant location;
    Call(window, L"LocationURL", location);
    if (location.vt != VT_BSTR || !location.bstrVal)
        return {};
    return location.bstrVal;
}

std::uint32_t HandleNumber(HWND window) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

NaivePressResult NaivePress(IDispatch& shell, HWND foreground, int minimised, HWND desktop) {
    NaivePressResult result;
    if (CountOf(shell) <= 0) {
        ++result.desktopFolders;
        return result;
    }
    const long count = CountOf(shell);
    for (long i = 0; i < count; ++i) {
        const Microsoft::WRL::ComPtr<IDispatch> window = ItemOf(shell, i);
        if (HandleOf(*ItemOf(shell, i).Get()) == HandleNumber(foreground)) {
            if (!LocationOf(*window.Get()).empty()) {
                result.folderLocations.push_back(LocationOf(*window.Get()));
                Variant ignored;
                Call(*window.Get(), L"Refresh", ignored);
            }
            continue;
        }
        if (minimised == CountOf(shell) || foreground == desktop) {
            ++result.desktopFolders;
            return result;
        }
    }
    return result;
}

} // namespace nestora::bench
