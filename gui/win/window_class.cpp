#include "gui/win/window_class.h"

#include "gui/core/exceptions.h"

namespace nestora::gui {

HINSTANCE FrameworkInstance() {
    // The module this code is linked into (the program or a test executable).
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&FrameworkInstance), &module);
    return module;
}

WNDPROC EnsureWindowClass(const WindowClassDesc& desc) {
    const HINSTANCE instance = FrameworkInstance();
    WNDCLASSEXW base{};
    base.cbSize = sizeof base;
    WNDPROC defaultProc = ::DefWindowProcW;
    if (desc.baseClass) {
        // Asked afresh each time: cheap, and always the class the system has now (the
        // Common Controls 6 version where the manifest asks for it).
        if (!::GetClassInfoExW(nullptr, desc.baseClass, &base))
            throw EOutOfResources(
                FormatText(L"The window class %s does not exist", {desc.baseClass}));
        defaultProc = base.lpfnWndProc;
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, desc.name.c_str(), &existing))
        return defaultProc;

    WNDCLASSEXW wc{};
    if (desc.baseClass) {
        wc = base; // styles, extra bytes, cursor and brush of the system class
    } else {
        wc.style = desc.style;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = desc.icon;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = desc.procedure;
    wc.hInstance = instance;
    wc.lpszClassName = desc.name.c_str();
    wc.lpszMenuName = nullptr;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources(
            FormatText(L"The window class %s cannot be registered", {desc.name}));
    return defaultProc;
}

} // namespace nestora::gui
